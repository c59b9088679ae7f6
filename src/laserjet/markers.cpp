// Plotting symbols on the LaserJet: the kernel's figures, outlines through
// the device's clipped polyline and filled shapes through its polygon.
#include "kernel/markers.h"
#include "core/bgrp.h"
#include "laserjet/device.h"

namespace tgd {

void ljmark_(const float* x, const float* y, const int* n, const int* pch) {
    if (*pch < 0 || *pch >= kMarkerCount) return;
    // The default size is 0.8 of the character cell, scaled back from the
    // character expansion.
    const float size = bgrp_(bg::marker_size) > 0.0f
                           ? bgrp_(bg::marker_size)
                           : bgrp_(bg::cell_height_in) * 0.8f / (bgrp_(bg::char_expansion) / bgrp_(bg::char_size_unit));
    draw_markers(
        x, y, *n, *pch, size / (2.0f * bgrp_(bg::inch_per_user_x)), size / (2.0f * bgrp_(bg::inch_per_user_y)),
        [](const float* vx, const float* vy, int count) { ljlins_(vx, vy, &count); },
        [](const float* vx, const float* vy, int count) { ljpoly_(vx, vy, &count); });
}

}  // namespace tgd
