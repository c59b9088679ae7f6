// The LaserJet page: its geometry in PCL units and dots, the mapping from
// the kernel's device coordinates to dots, and the 1-bit page raster.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/bgrp.h"

namespace tgd {

// Supported resolutions: a requested one is snapped down to 300, 150, 100
// or 75 dots per inch.
[[nodiscard]] int snap_laserjet_dpi(int dpi);

struct PageGeometry {
    bool landscape = true;
    int dpi = 75;
    // Printable area of the logical page, PCL units (1/300 inch).
    int area_left = 0, area_top = 0, area_right = 0, area_bottom = 0;
    float dot_scale = 0.25f;     // dots per PCL unit
    int page_w = 0, page_h = 0;  // printable area, dots
    int plot_w = 0, plot_h = 0;  // plot region, dots, centred on the page
    float char_dots = 0;         // character height, dots
    int raster_rows = 0;         // rows 0..raster_rows exist
    int row_bytes = 0;

    int row_bits() const { return row_bytes * 8; }
    std::size_t raster_size() const {
        return (static_cast<std::size_t>(raster_rows) + 1) * static_cast<std::size_t>(row_bytes);
    }

    // Device coordinates (bgrp_'s device range) to dots; y is flipped.
    int map_x(float x) const;
    int map_y(float y) const;
    // y to dots without the flip (image rectangles).
    int map_y_up(float y) const;
};

// The geometry of a page in the given orientation, LaserJet paper code and
// snapped resolution, for a picture with bgrp_'s device range and raster
// size.  maximize non-zero enlarges the picture to the printable area.
[[nodiscard]] PageGeometry make_page_geometry(bool landscape, int papersize, int dpi, int maximize);

// The page raster, stored in the printer's portrait orientation: a dot
// (X, Y) of the logical page (X right, Y down) is found by orientation.
// Dots that do not exist are ignored.
class PageRaster {
public:
    PageRaster() = default;
    // Zero-filled raster for the geometry; throws std::bad_alloc.
    explicit PageRaster(const PageGeometry& g);

    bool exists(long long x, long long y) const;
    void set(long long x, long long y);
    void clear(long long x, long long y);
    bool test(long long x, long long y) const;

    int rows() const { return rows_; }  // raster_rows + 1
    int row_bytes() const { return row_bytes_; }
    const std::uint8_t* row(int r) const { return bytes_.data() + static_cast<std::size_t>(r) * row_bytes_; }
    std::uint8_t* row(int r) { return bytes_.data() + static_cast<std::size_t>(r) * row_bytes_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    bool empty() const { return bytes_.empty(); }

    // Logical-page extents: x in [0, width()), y in [0, height()).
    long long width() const;
    long long height() const;

private:
    // Byte index and mask of an existing dot; false when it does not exist.
    bool locate(long long x, long long y, std::size_t& index, std::uint8_t& mask) const;

    bool landscape_ = false;
    int rows_ = 0;
    int row_bytes_ = 0;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace tgd
