// The plotting symbols as figures in user coordinates, shared by the
// kernel and the printer devices, which draw the same markers.
#pragma once

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
// through lines, filled figures through polygon (vertex arrays and count).
using MarkerDrawFn = void (*)(const float* x, const float* y, int n);
void draw_markers(const float* x, const float* y, int n, int marker, float hx, float hy, MarkerDrawFn lines,
                  MarkerDrawFn polygon);

// Marker size in inches: marker_size when above 0, otherwise 0.4 times the
// character cell's height.
float marker_size_inches();

}  // namespace tgd
