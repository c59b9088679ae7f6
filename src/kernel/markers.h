// The plotting symbols as figures in user coordinates, shared by the
// kernel and the printer devices, which draw the same markers.
#pragma once

#include <cstddef>
#include <vector>

namespace tgd {

// One stroke of a marker: an open polyline, or a filled polygon whose
// closing edge is implied.
struct MarkerStroke {
    std::vector<float> x, y;
    bool filled = false;
};

inline constexpr int kMarkerCount = 19;  // markers 0 to 18

// The strokes of marker at (x, y) with half sizes hx, hy (user units), in
// drawing order; none for a number outside 0..18.
std::vector<MarkerStroke> marker_strokes(int marker, float x, float y, float hx, float hy);

// Draws marker at each of the n points with half sizes hx, hy: outlines
// through lines, filled figures through polygon (each called with vertex
// arrays and their count).  The figure around the origin holds the offsets
// themselves (0 plus an offset is that offset), so each point plus them is
// the very sum marker_strokes would make for it, without building the
// figure anew for every point.
template <class Lines, class Polygon>
void draw_markers(const float* x, const float* y, std::size_t n, int marker, float hx, float hy, Lines lines,
                  Polygon polygon) {
    const std::vector<MarkerStroke> figure = marker_strokes(marker, 0.0f, 0.0f, hx, hy);
    std::vector<float> sx, sy;
    for (std::size_t i = 0; i < n; ++i) {
        for (const MarkerStroke& stroke : figure) {
            sx.resize(stroke.x.size());
            sy.resize(stroke.y.size());
            for (std::size_t k = 0; k < stroke.x.size(); ++k) {
                sx[k] = x[i] + stroke.x[k];
                sy[k] = y[i] + stroke.y[k];
            }
            if (stroke.filled)
                polygon(sx.data(), sy.data(), static_cast<int>(sx.size()));
            else
                lines(sx.data(), sy.data(), static_cast<int>(sx.size()));
        }
    }
}

// Marker size in inches: marker_size when above 0, otherwise 0.4 times the
// character cell's height.
float marker_size_inches();

}  // namespace tgd
