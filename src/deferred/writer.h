// The deferred-graphics writer: records the drawing, frame by frame, into a
// text file while deferred graphics are on.  Every routine does nothing
// while they are off.
#pragma once

namespace tgd {

void winitz_();
// Start deferred graphics: mode 1 records and asks about each frame, 2
// records without asking.  name is NUL-terminated, n its length.
void wcopyz_(int mode, const char* name, int n);
void wlinsz_(const float* x, const float* y, int n);
void wpntsz_(const float* x, const float* y, int n);
void wpolyz_(const float* x, const float* y, int n);
void wsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n);
void wtextz_(float x, float y, const char* text, int n, float justification);
void wdiffz_(const float* v, int n);
void wejecz_();
void wwrapz_();

}  // namespace tgd
