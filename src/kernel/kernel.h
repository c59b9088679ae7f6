// The graphics kernel's entry points used by the command loop and the
// display-list replay.  Coordinates are user coordinates; the kernel draws
// through the installed live device.
#pragma once

#include <string_view>

namespace tgd {

// Start the kernel with the device parameters of the first 'I' or 'M'.
void pbegnz_(const float* params, int n);
// Start values of entries 40 to 200 and the layout.
void defltz_();

// Layout and scaling.
void zrdszz_();
void spmarz_(float bottom, float left, float top, float right);
void spptyz_(std::string_view letter);
void mxpltz_();
void zzpltz_();
void zscalz_();
void zcsizz_();

void zlinsz_(const float* x, const float* y, int n);
void zsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n);
void zpntsz_(const float* x, const float* y, int n);
void ztextz_(float x, float y, const char* text, int n, float justification);

// Advance between characters (dx, dy user units; w inches), string
// direction (ux, uy user units per inch), rotated 1 when the characters
// are turned relative to the string.
void zcposz_(float& dx, float& dy, float& w, float& ux, float& uy, int& rotated);

// Reads up to nmax locator points; nread receives how many were read.
void zrdpnz_(float* x, float* y, int& nread, int nmax);

// The terminal forgets its remembered state after an interrupt.
void zintrz_();

// The marker routines' polyline and filled polygon; both set drawn.
void linesz_(const float* x, const float* y, int n);
void polyz_(const float* x, const float* y, int n);

// Marker number 0..18 at n points; other numbers draw nothing.
void dmarkz_(const float* x, const float* y, int n, int marker);

void zimagz_(const float* x, const float* y, const float* z, int nx, int ny, int nz, float zlow, float zhigh,
             float missing);

// Colours available for images (start value 6).
extern int n_colors;
void setncl_(int n);

// Fills the raster rectangle with the current colour.
void fillrect(int x1, int y1, int x2, int y2);

}  // namespace tgd
