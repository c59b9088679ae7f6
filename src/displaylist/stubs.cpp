// Placeholders until the display list is built.
#include "displaylist/displaylist.h"

namespace tgd {

void dlinsz_(const float*, const float*, int) {}
void dpolyz_(const float*, const float*, int) {}
void dpntsz_(const float*, const float*, int) {}
void dsegsz_(const float*, const float*, const float*, const float*, int) {}
void dtextz_(float, float, const char*, int, float) {}
void ddiffz_(const float*, int) {}
void dinitz_(const float*, int) {}
void dimagz_(const float*, const float*, const float*, int, int, int, float, float, float) {}
void dejecz_() {}
int refresh_display() { return 0; }

}  // namespace tgd
