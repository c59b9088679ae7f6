// Drawing into the LaserJet page raster: one-dot lines with the dash
// patterns of the line types, and polygons filled with dot patterns.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "laserjet/raster.h"

namespace tgd {

// The dash sequence of a line type and a cursor into it.  The cursor runs
// on across lines until the line type is set again.
class DashPattern {
public:
    // Line types outside 0..8 wrap: 9 is 1, 10 is 2, -1 is 7.
    static int normalise(int line_type);

    // Sets the (normalised) line type and puts the cursor at the start.
    void set_line_type(int line_type);
    int line_type() const { return line_type_; }
    // Whether the entry under the cursor is ink; the cursor moves on.
    bool next();
    // Moves the cursor on by count entries.
    void skip(long long count);

private:
    int line_type_ = 1;
    std::array<std::uint8_t, 11> seq_{1};
    int length_ = 1;
    int cursor_ = 0;
};

// The pen of the raster device: line type and colour in force.
struct RasterPen {
    DashPattern dash;
    float color = 1.0f;

    // One dot of a line: colour 0 clears it, otherwise the dash decides.
    void plot(PageRaster& raster, long long x, long long y);
    // Line from (x0, y0) to (x1, y1) in dots, both ends included.
    void line(PageRaster& raster, long long x0, long long y0, long long x1, long long y1);
};

// Fill patterns 0..16: pattern k has k dots in every 4 x 4 cell.
inline constexpr int kFillPatterns = 17;
[[nodiscard]] bool pattern_bit(int pattern, long long x, long long y);
// Pattern of a polygon colour: 0 erases, 1..10 (repeating) map to grays.
[[nodiscard]] int pattern_for_color(float color);

struct Dot {
    long long x, y;
};

// Fills the polygon (closed implicitly) opaquely with the pattern: its
// zero bits paint white.  Scan lines 0..4095 exist.
void fill_polygon(PageRaster& raster, const std::vector<Dot>& vertices, int pattern);

}  // namespace tgd
