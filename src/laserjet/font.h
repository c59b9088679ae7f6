// The stroke font of the LaserJet device: single-stroke glyphs in font
// units (28 units are one character height), y upward, x from the glyph's
// horizontal centre.  Capitals stand on y = -9 and reach y = 12.
#pragma once

#include <cstdint>
#include <vector>

namespace tgd {

struct GlyphPoint {
    std::int8_t x, y;
};

// A pair whose x is this value lifts the pen: the next pair starts a new
// stroke.
inline constexpr std::int8_t kPenUp = 31;

struct Glyph {
    std::int8_t left = 0, right = 0;  // extents
    std::vector<GlyphPoint> points;
};

// The glyph of a character; characters below 32 (and bytes 128..255, taken
// as signed) and 127 get the default glyph.
const Glyph& stroke_glyph(char c);

// Each stroke of a glyph as a list of points.
std::vector<std::vector<GlyphPoint>> glyph_strokes(const Glyph& glyph);

}  // namespace tgd
