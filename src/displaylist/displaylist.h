// Recording of the current frame and its replay on the terminal.
#pragma once

namespace tgd {

void dlinsz_(const float* x, const float* y, int n);
void dpolyz_(const float* x, const float* y, int n);
void dpntsz_(const float* x, const float* y, int n);
void dsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n);
void dtextz_(float x, float y, const char* text, int n, float justification);
void ddiffz_(const float* v, int n);
void dinitz_(const float* v, int n);
void dimagz_(const float* x, const float* y, const float* z, int nx, int ny, int nz, float a, float b,
             float c);

// New frame: the list collapses into one init entry.
void dejecz_();

// Redraw the current frame on the terminal ('d'); 1 when replayed.
int refresh_display();

}  // namespace tgd
