// Plotting symbols on the LaserJet: the kernel's figures, outlines through
// the device's clipped polyline and filled shapes through its polygon.
#include <algorithm>
#include <span>

#include "core/bgrp.h"
#include "kernel/markers.h"
#include "laserjet/device.h"

namespace tgd {

void LaserJetDevice::ljmark_(std::span<const float> x, std::span<const float> y, int pch) {
    if (pch < 0 || pch >= kMarkerCount) return;
    // The default size is 0.8 of the character cell, scaled back from the
    // character expansion.
    const float size = bgrp_(bg::marker_size) > 0.0f
                           ? bgrp_(bg::marker_size)
                           : bgrp_(bg::cell_height_in) * 0.8f / (bgrp_(bg::char_expansion) / bgrp_(bg::char_size_unit));
    const float hx = size / (2.0f * bgrp_(bg::inch_per_user_x)), hy = size / (2.0f * bgrp_(bg::inch_per_user_y));
    const auto span = [](const float* v, int count) {
        return std::span<const float>(v, static_cast<std::size_t>(count));
    };
    draw_markers(
        x.data(), y.data(), std::min(x.size(), y.size()), pch, hx, hy,
        [&](const float* vx, const float* vy, int count) { ljlins_(span(vx, count), span(vy, count)); },
        [&](const float* vx, const float* vy, int count) { ljpoly_(span(vx, count), span(vy, count)); });
}

}  // namespace tgd
