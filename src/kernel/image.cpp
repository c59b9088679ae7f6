// Images: a grid of cells coloured by value, drawn row by row as filled
// rectangles, with runs of equal colour within a row merged.
#include <utility>

#include "base/alloc.h"
#include "base/convert.h"
#include "base/messages.h"
#include "base/process_state.h"
#include "base/scope.h"
#include "core/bgrp.h"
#include "core/live_device.h"
#include "kernel/geometry.h"
#include "kernel/kernel.h"

namespace tgd {

int n_colors = 6;

namespace {
const StateReset reset_state{[] { n_colors = 6; }};
}  // namespace

void setncl_(int n) { n_colors = n; }

namespace {

constexpr int kMissing = -999;  // colour of an empty cell

// The open run of equally coloured cells within one row.
struct RunMachine {
    int rect_stage = 0;  // 0 no run open, 1 run open
    int color = 0;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;

    void cell(int cx1, int cy1, int cx2, int cy2, int c) {
        if (rect_stage == 1 && c == color) {
            x2 = cx2;
            y2 = cy2;
            return;
        }
        if (rect_stage == 1) flush();
        if (rect_stage != 0) {
            dmprog_(dmformat("Unexpected value (%d) for rect_stage.", rect_stage));
            return;
        }
        *this = RunMachine{1, c, cx1, cy1, cx2, cy2};
    }

    void flush() {
        if (rect_stage == 1 && color != kMissing) {
            bgrp_(bg::color) = static_cast<float>(color);
            fillrect(x1, y1, x2, y2);
        }
        rect_stage = 0;
    }
};

// Raster position of a grid boundary, in double precision.
int grid_raster(float offset, float scale, float v) {
    return to_int(static_cast<double>(offset) + static_cast<double>(scale) * v + 0.5, -kIntLimit);
}

}  // namespace

void zimagz_(const float* x, const float* y, const float* z, int nx, int ny, int nz, float zlow, float zhigh,
             float missing) {
    float lo = zlow, hi = zhigh;
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi) {
        lo -= 0.5f;
        hi += 0.5f;
    }
    const double k = (n_colors - 1.0) / (static_cast<double>(hi) - lo);  // no int overflow at INT_MIN
    if (nx < 1 || ny < 1) return;

    Block<int> xs(nx), ys(ny);
    for (int i = 0; i < nx; ++i) xs[i] = grid_raster(bgrp_(bg::x_offset), bgrp_(bg::x_scale), x[i]);
    for (int j = 0; j < ny; ++j) ys[j] = grid_raster(bgrp_(bg::y_offset), bgrp_(bg::y_scale), y[j]);
    {
        const ValueKept color_kept{bgrp_(bg::color)};
        long long next = 0;  // index of the next value; cells past the last value stay empty
        for (int j = 0; j + 1 < ny; ++j) {
            RunMachine run;
            for (int i = 0; i + 1 < nx; ++i, ++next) {
                int color = kMissing;
                if (next < nz && z[next] != missing) color = to_int(1.0 + (z[next] - lo) * k);
                run.cell(xs[i], ys[j], xs[i + 1], ys[j + 1], color);
            }
            run.flush();
        }
    }
    live_device().seek(xs[0], ys[0]);
}

void fillrect(int x1, int y1, int x2, int y2) {
    auto back = [](int r, float offset, float scale) { return static_cast<float>((r - 0.5 - offset) / scale); };
    const float xo = bgrp_(bg::x_offset), xsc = bgrp_(bg::x_scale);
    const float yo = bgrp_(bg::y_offset), ysc = bgrp_(bg::y_scale);
    const float X1 = back(x1, xo, xsc), X2 = back(x2, xo, xsc);
    const float Y1 = back(y1, yo, ysc), Y2 = back(y2, yo, ysc);
    const float px[4] = {X1, X1, X2, X2};
    const float py[4] = {Y1, Y2, Y2, Y1};
    live_device().polygon(px, py, 4);
}

}  // namespace tgd
