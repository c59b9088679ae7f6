// Plotting symbols on the LaserJet: the kernel's figures, outlines through
// the device's clipped polyline and filled shapes through its polygon.
#include <algorithm>
#include <vector>

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
    // The figure's strokes around the origin: their coordinates are the
    // offsets that marker_strokes adds to each point, so adding them here
    // gives the same vertices, figured once for all the points.
    const std::vector<MarkerStroke> figure = marker_strokes(pch, 0.0f, 0.0f, hx, hy);
    std::vector<float> vx, vy;
    const std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
        for (const MarkerStroke& stroke : figure) {
            vx.clear();
            vy.clear();
            for (float dx : stroke.x) vx.push_back(x[i] + dx);
            for (float dy : stroke.y) vy.push_back(y[i] + dy);
            if (stroke.filled)
                ljpoly_(vx, vy);
            else
                ljlins_(vx, vy);
        }
    }
}

}  // namespace tgd
