// Page geometry and the page raster of the LaserJet device.
#include "laserjet/raster.h"

#include <algorithm>

#include "base/convert.h"

namespace tgd {

namespace {

struct Area {
    int left, top, right, bottom;
};

// Printable areas in PCL units, already moved in by 3 units on the
// unprintable edges (left in landscape, right in portrait, bottom in both).
Area printable_area(bool landscape, int papersize) {
    if (landscape) {
        switch (papersize) {
            case 3: return {3, 50, 4080, 2447};   // Legal
            case 26: return {3, 50, 3389, 2385};  // A4
            default: return {3, 50, 3180, 2447};  // Letter
        }
    }
    switch (papersize) {
        case 3: return {0, 60, 2397, 4137};
        case 26: return {0, 60, 2335, 3446};
        default: return {0, 60, 2397, 3237};
    }
}

// PCL units to dots, rounded: the product is single precision.
int scaled(int units, float dot_scale) {
    return to_int(static_cast<double>(static_cast<float>(units) * dot_scale) + 0.5);
}

}  // namespace

int snap_laserjet_dpi(int dpi) {
    if (dpi >= 300) return 300;
    if (dpi >= 150) return 150;
    if (dpi >= 100) return 100;
    return 75;
}

int PageGeometry::map_x(float x) const {
    double range = static_cast<double>(bgrp_(bg::device_xmax)) - bgrp_(bg::device_xmin);
    const int margin = (page_w - plot_w) / 2;  // whole dots
    double v = (x - static_cast<double>(bgrp_(bg::device_xmin))) / range * plot_w + margin + 0.5;
    return to_int(v, -kIntLimit);
}

int PageGeometry::map_y_up(float y) const {
    double range = static_cast<double>(bgrp_(bg::device_ymax)) - bgrp_(bg::device_ymin);
    const int margin = (page_h - plot_h) / 2;  // whole dots
    double v = (y - static_cast<double>(bgrp_(bg::device_ymin))) / range * plot_h + margin + 0.5;
    return to_int(v, -kIntLimit);
}

int PageGeometry::map_y(float y) const { return page_h - map_y_up(y); }

PageGeometry make_page_geometry(bool landscape, int papersize, int dpi, int maximize) {
    PageGeometry g;
    g.landscape = landscape;
    g.dpi = dpi;
    g.dot_scale = static_cast<float>(dpi / 300.0);
    Area a = printable_area(landscape, papersize);
    g.area_left = a.left;
    g.area_top = a.top;
    g.area_right = a.right;
    g.area_bottom = a.bottom;
    g.page_w = scaled(a.right - a.left, g.dot_scale);
    g.page_h = scaled(a.bottom - a.top, g.dot_scale);

    const float xr = bgrp_(bg::device_xmax) - bgrp_(bg::device_xmin);
    const float yr = bgrp_(bg::device_ymax) - bgrp_(bg::device_ymin);
    const int nat_w = to_int(xr * bgrp_(bg::device_raster_width) * static_cast<float>(dpi));
    const int nat_h = to_int(yr * bgrp_(bg::device_raster_height) * static_cast<float>(dpi));
    if (xr / yr > static_cast<float>(g.page_w) / static_cast<float>(g.page_h)) {
        g.plot_w = maximize != 0 ? g.page_w : std::min(g.page_w, nat_w);
        g.plot_h = to_int(yr / xr * static_cast<float>(g.plot_w));
    } else {
        g.plot_h = maximize != 0 ? g.page_h : std::min(g.page_h, nat_h);
        g.plot_w = to_int(xr / yr * static_cast<float>(g.plot_h));
    }
    g.char_dots = bgrp_(bg::cell_height) * bgrp_(bg::device_raster_width) * static_cast<float>(dpi) *
                  static_cast<float>(g.plot_h) / static_cast<float>(nat_h);

    if (landscape) {
        g.raster_rows = scaled(a.right - a.left, g.dot_scale);
        g.row_bytes = scaled((a.bottom - a.top) / 8, g.dot_scale);
    } else {
        g.raster_rows = scaled(a.bottom - a.top, g.dot_scale);
        g.row_bytes = scaled((a.right - a.left) / 8, g.dot_scale);
    }
    return g;
}

PageRaster::PageRaster(const PageGeometry& g)
    : landscape_(g.landscape), rows_(g.raster_rows + 1), row_bytes_(g.row_bytes), bytes_(g.raster_size(), 0) {}

void PageRaster::set(long long x, long long y) {
    if (!exists(x, y)) return;
    const Stored s = stored(x, y);
    cursor(s).set();
    note_drawn(s);
}

void PageRaster::clear(long long x, long long y) {
    if (exists(x, y)) cursor(stored(x, y)).clear();
}

bool PageRaster::test(long long x, long long y) const {
    if (!exists(x, y)) return false;
    const Stored s = stored(x, y);
    const std::uint8_t byte = bytes_[static_cast<std::size_t>(s.row) * static_cast<std::size_t>(row_bytes_) +
                                     static_cast<std::size_t>(s.bit >> 3)];
    return (byte & (0x80u >> (s.bit & 7))) != 0;
}

}  // namespace tgd
