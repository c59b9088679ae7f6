// The graphics kernel's entry points used by the command loop and the
// display-list replay.  Coordinates are user coordinates.
#pragma once

#include <string_view>

namespace tgd {

// Start the kernel with the device parameters of the first 'I' or 'M'.
void pbegnz_(const float* params, int n);
// Start values of entries 40 to 200 and the layout.
void defltz_();

// Apply a parameter-change vector of n floats ((entry, value) pairs).
// Pairs naming no entry 1..200 are ignored, and so is an odd last value.
void amdiff_(const float* v, int n);

// Write the saved-attribute set into the deferred-graphics file.
void amset_();
// The deferred-graphics file's descriptor that amset_ writes to; -1 while
// no file is open (amset_ then writes nothing).
extern int par_dump_unit;

// Layout and scaling.
void zrdszz_();
void spmarz_(float bottom, float left, float top, float right);
void spptyz_(std::string_view letter);
void mxpltz_();
void zzpltz_();
void zscalz_();
void zcsizz_();

// Kernel reports on descriptor 2, silent while error_reports is negative.
void zerrpz_(std::string_view routine, std::string_view message);
void zobdsz_(std::string_view label, float x, float y);
void ztobdz_(const char* text, int n, float x, float y);

// Clips the segment (x[0], y[0])-(x[1], y[1]) against the window spanned
// by xlim and ylim (bounds in either order).  status: -1 nothing to draw,
// 0 unchanged, > 0 the number of endpoint replacements.
void lclipz_(const float x[2], const float y[2], const float xlim[2], const float ylim[2], float xout[2],
             float yout[2], int& status);

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

void zimagz_(const float* x, const float* y, const float* z, int nx, int ny, int nz, float zlow,
             float zhigh, float missing);

// Colours available for images (start value 6).
extern int n_colors;
void setncl_(int n);

// Fills the raster rectangle with the current colour.
void fillrect(int x1, int y1, int x2, int y2);

}  // namespace tgd
