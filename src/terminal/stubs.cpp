// Placeholders until the terminal primitives are built.
#include "terminal/terminal.h"

namespace tgd {

void zparmz_(const float*, int) {}
void zpolyz_(const float*, const float*, int) {}
void zejecz_() {}
void zflshz_() {}
void zwrapz_() {}
void zquxyz_(int& ix, int& iy, int& key) { ix = iy = 0; key = -1; }

}  // namespace tgd
