// Deferred graphics are not recorded yet: the writer stays off and every
// routine does nothing.
#include "deferred/writer.h"

namespace tgd {

void winitz_() {}
void wcopyz_(int, const char*, int) {}
void wlinsz_(const float*, const float*, int) {}
void wpntsz_(const float*, const float*, int) {}
void wpolyz_(const float*, const float*, int) {}
void wsegsz_(const float*, const float*, const float*, const float*, int) {}
void wtextz_(float, float, const char*, int, float) {}
void wdiffz_(const float*, int) {}
void wejecz_() {}
void wwrapz_() {}

}  // namespace tgd
