// The LaserJet page: its geometry in PCL units and dots, the mapping from
// the kernel's device coordinates to dots, and the 1-bit page raster.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/convert.h"
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

    bool exists(long long x, long long y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }
    void set(long long x, long long y);
    void clear(long long x, long long y);
    bool test(long long x, long long y) const;

    // Where a dot is stored: its row and its bit along the row.  Landscape
    // pages are stored turned: logical x runs up the rows.
    struct Stored {
        long long row, bit;
    };
    Stored stored(long long x, long long y) const { return landscape_ ? Stored{rows_ - 1 - x, y} : Stored{y, x}; }

    // A position on an existing dot, moved by single dots along the row or
    // across rows without bounds checks: the caller keeps it on existing
    // dots.
    class Cursor {
    public:
        void set() const { row_[bit_ >> 3] |= static_cast<std::uint8_t>(0x80u >> (bit_ & 7)); }
        void clear() const { row_[bit_ >> 3] &= static_cast<std::uint8_t>(~(0x80u >> (bit_ & 7))); }
        // Next dot along the row (step +1 or -1).
        void step_bit(int step) { bit_ += step; }
        // Same bit in the next row (step +1 or -1).
        void step_row(int step) { row_ += step * row_bytes_; }

    private:
        friend class PageRaster;
        Cursor(std::uint8_t* row, std::ptrdiff_t bit, std::ptrdiff_t row_bytes)
            : row_(row), bit_(bit), row_bytes_(row_bytes) {}
        std::uint8_t* row_;
        std::ptrdiff_t bit_;
        std::ptrdiff_t row_bytes_;
    };
    // The cursor on an existing dot, given where it is stored.
    Cursor cursor(Stored s) {
        return {bytes_.data() + static_cast<std::size_t>(s.row) * static_cast<std::size_t>(row_bytes_), s.bit,
                row_bytes_};
    }
    // Widens the drawn box to hold an existing dot: set() does it, a
    // caller setting dots through a cursor does it for them.
    void note_drawn(Stored s) {
        const int r = static_cast<int>(s.row), c = static_cast<int>(s.bit >> 3);
        drawn_rows_ = {std::min(drawn_rows_.first, r), std::max(drawn_rows_.last, r + 1)};
        drawn_columns_ = {std::min(drawn_columns_.first, c), std::max(drawn_columns_.last, c + 1)};
    }

    // The rows and byte columns, [first, last) each, holding every dot set
    // so far: the bytes outside this box are zero (first >= last while the
    // page is blank).
    struct Extent {
        int first, last;
    };
    Extent drawn_rows() const { return drawn_rows_; }
    Extent drawn_columns() const { return drawn_columns_; }

    int rows() const { return rows_; }  // raster_rows + 1
    int row_bytes() const { return row_bytes_; }
    const std::uint8_t* row(int r) const { return bytes_.data() + static_cast<std::size_t>(r) * row_bytes_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    bool empty() const { return bytes_.empty(); }

    // Logical-page extents: x in [0, width()), y in [0, height()).
    long long width() const { return landscape_ ? rows_ : static_cast<long long>(row_bytes_) * 8; }
    long long height() const { return landscape_ ? static_cast<long long>(row_bytes_) * 8 : rows_; }

private:
    bool landscape_ = false;
    int rows_ = 0;
    int row_bytes_ = 0;
    std::vector<std::uint8_t> bytes_;
    // The page is written from the drawn box alone, so that its blank
    // parts are never read.
    Extent drawn_rows_{kIntLimit, 0}, drawn_columns_{kIntLimit, 0};
};

}  // namespace tgd
