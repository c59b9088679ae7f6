// A LaserJet page for tests: device coordinates map one to one onto dots
// (x right, y up from the bottom row), on a small portrait raster.
#pragma once

#include <string>

#include "base/process_state.h"
#include "core/bgrp.h"
#include "laserjet/device.h"

namespace ljtest {

inline constexpr int kWidth = 64;   // dots
inline constexpr int kHeight = 48;  // dots; rows 0..kHeight exist

// Starts a page whose device range is 0..kWidth by 0..kHeight and whose
// user coordinates are device coordinates; clip window the whole range.
// char_dots is the character height in dots.
inline void start_page(float char_dots = 28) {
    using namespace tgd;
    reset_process_state();
    bgrp_(bg::device_xmax) = kWidth;
    bgrp_(bg::device_ymax) = kHeight;
    bgrp_(bg::clip_xmax) = kWidth;
    bgrp_(bg::clip_ymax) = kHeight;
    bgrp_(bg::x_scale) = 1;
    bgrp_(bg::y_scale) = 1;
    bgrp_(bg::line_type) = 1;
    bgrp_(bg::color) = 1;
    bgrp_(bg::char_expansion) = 1;
    PageGeometry g;
    g.landscape = false;
    g.dpi = 300;
    g.dot_scale = 1.0f;
    g.area_left = 0;
    g.area_top = 60;
    g.page_w = g.plot_w = kWidth;
    g.page_h = g.plot_h = kHeight;
    g.char_dots = char_dots;  // 28: one dot per font unit
    g.raster_rows = kHeight;
    g.row_bytes = kWidth / 8;
    hplj_page.begin_page(g);
}

// Dot (x, y) of the page in device coordinates (y up).
inline bool dot(int x, int y) { return tgd::hplj_page.raster().test(x, kHeight - y); }

inline int ink() {
    int n = 0;
    for (unsigned char b : tgd::hplj_page.raster().bytes()) n += __builtin_popcount(b);
    return n;
}

// The page as rows of '#' and '.', top row first, for failure messages.
inline std::string picture() {
    std::string s;
    for (int y = kHeight; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) s += dot(x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

}  // namespace ljtest
