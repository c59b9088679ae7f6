// Placeholders until the kernel's drawing routines are built.
#include "kernel/bgrp.h"
#include "kernel/kernel.h"

namespace tgd {

GraphicsParameters bgrp_;

void pbegnz_(const float*, int) {}
void amdiff_(const float*, int) {}
void amset_() {}
void zlinsz_(const float*, const float*, int) {}
void zsegsz_(const float*, const float*, const float*, const float*, int) {}
void zpntsz_(const float*, const float*, int) {}
void ztextz_(float, float, const char*, int, float) {}
void zrdpnz_(float*, float*, int& nread, int) { nread = 0; }
void zintrz_() {}
void zimagz_(const float*, const float*, const float*, int, int, int, float, float, float) {}

}  // namespace tgd
