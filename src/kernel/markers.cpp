// Plotting symbols: small figures in user coordinates, drawn through the
// kernel's polyline (clipped, reported) and the terminal's filled polygon.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <utility>
#include <vector>

#include "core/bgrp.h"
#include "kernel/kernel.h"
#include "kernel/markers.h"

namespace tgd {

namespace {

// Two stroke codes per marker; a negative code is the figure filled.
constexpr std::array<std::array<int, 2>, 19> kMarkers = {{
    {1, 0},  {2, 0},  {3, 0},  {4, 0},  {5, 0}, {6, 0}, {7, 0},  // square .. triangle down
    {1, 5},  {4, 5},  {4, 6},  {2, 4},  {3, 7}, {1, 4}, {2, 5},  // combinations
    {8, 0},                                                      // square with triangle
    {-1, 0}, {-2, 0}, {-3, 0}, {-6, 0},                          // filled
}};

struct Vertex {
    float x, y;  // multiples of the half sizes
};

// Figure vertex lists, in half sizes around the point.  Codes 4 and 5 are
// two separate lines of two vertices each.
const std::vector<Vertex>& figure(int code) {
    static const std::array<std::vector<Vertex>, 8> kFigures = {{
        {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}, {-1, 1}},
        {{-0.5f, 1}, {0.5f, 1}, {1, 0.5f}, {1, -0.5f}, {0.5f, -1}, {-0.5f, -1}, {-1, -0.5f}, {-1, 0.5f}, {-0.5f, 1}},
        {{0, 1}, {1, -1}, {-1, -1}, {0, 1}},
        {{1, 0}, {-1, 0}, {0, 1}, {0, -1}},
        {{-1, 1}, {1, -1}, {-1, -1}, {1, 1}},
        {{0, 1}, {1, 0}, {0, -1}, {-1, 0}, {0, 1}},
        {{-1, 1}, {1, 1}, {0, -1}, {-1, 1}},
        {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}, {-1, -1}, {0, 1}, {1, -1}},
    }};
    return kFigures[static_cast<std::size_t>(code - 1)];
}

}  // namespace

std::vector<MarkerStroke> marker_strokes(int marker, float x, float y, float hx, float hy) {
    std::vector<MarkerStroke> strokes;
    if (marker < 0 || marker >= kMarkerCount) return strokes;
    const float qx = hx / 2.0f, qy = hy / 2.0f;
    // A coordinate of the figure: the half and quarter sizes are computed
    // as such, not as multiples, so that the figures come out exactly.
    auto offset = [](float k, float h, float q) {
        return k == 1 ? h : k == -1 ? -h : k == 0.5f ? q : k == -0.5f ? -q : 0.0f;
    };
    for (int code : kMarkers[static_cast<std::size_t>(marker)]) {
        if (code == 0) continue;
        MarkerStroke stroke;
        stroke.filled = code < 0;
        for (const Vertex& v : figure(std::abs(code))) {
            stroke.x.push_back(x + offset(v.x, hx, qx));
            stroke.y.push_back(y + offset(v.y, hy, qy));
        }
        if (stroke.filled) {
            // The last vertex repeats the first.
            stroke.x.pop_back();
            stroke.y.pop_back();
            strokes.push_back(std::move(stroke));
        } else if (code == 4 || code == 5) {
            // Two separate lines of two vertices each.
            strokes.push_back({{stroke.x[0], stroke.x[1]}, {stroke.y[0], stroke.y[1]}, false});
            strokes.push_back({{stroke.x[2], stroke.x[3]}, {stroke.y[2], stroke.y[3]}, false});
        } else {
            strokes.push_back(std::move(stroke));
        }
    }
    return strokes;
}

float marker_size_inches() {
    return bgrp_(bg::marker_size) > 0.0f ? bgrp_(bg::marker_size) : 0.4f * bgrp_(bg::cell_height_in);
}

void dmarkz_(const float* x, const float* y, int n, int marker) {
    if (marker < 0 || marker >= kMarkerCount) return;
    const float size = marker_size_inches();
    draw_markers(x, y, static_cast<std::size_t>(std::max(n, 0)), marker, size / (2.0f * bgrp_(bg::inch_per_user_x)),
                 size / (2.0f * bgrp_(bg::inch_per_user_y)), linesz_, polyz_);
}

}  // namespace tgd
