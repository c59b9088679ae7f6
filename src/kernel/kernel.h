// The graphics kernel's entry points used by the command loop and the
// display-list replay.  Coordinates are user coordinates.
#pragma once

namespace tgd {

// Start the kernel with the device parameters of the first 'I' or 'M'.
void pbegnz_(const float* params, int n);

// Apply a parameter-change vector of n floats ((entry, value) pairs).
void amdiff_(const float* v, int n);

// Write the saved-attribute set into the deferred-graphics file.
void amset_();

void zlinsz_(const float* x, const float* y, int n);
void zsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n);
void zpntsz_(const float* x, const float* y, int n);
void ztextz_(float x, float y, const char* text, int n, float justification);

// Reads up to nmax locator points; nread receives how many were read.
void zrdpnz_(float* x, float* y, int& nread, int nmax);

// The terminal forgets its remembered state after an interrupt.
void zintrz_();

void zimagz_(const float* x, const float* y, const float* z, int nx, int ny, int nz, float zlow,
             float zhigh, float missing);

}  // namespace tgd
