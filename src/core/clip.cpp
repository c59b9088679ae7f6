// The one segment clipper, shared by the kernel, the terminal's polygon
// and the printer devices.
#include <algorithm>
#include <cmath>

#include "core/clip.h"

namespace tgd {

namespace {

// Crossing of the segment with the line u = edge, where u is the first
// coordinate and v the second (x and y for a vertical edge, y and x for a
// horizontal one).  The endpoint replaced is the low one when the edge is
// a low bound.  A NaN coordinate never crosses.
bool cross(float u[2], float v[2], float edge, float tolerance, float vmin, float vmax, bool low_edge) {
    const float du = u[1] - u[0];
    if (!(std::fabs(du) >= tolerance)) return false;
    const float t = (edge - u[0]) / du;
    if (!(t >= 0.0f && t <= 1.0f)) return false;
    const float at = v[0] + t * (v[1] - v[0]);
    if (!(at >= vmin && at <= vmax)) return false;
    int end = low_edge ? (u[1] > u[0] ? 0 : 1) : (u[1] >= u[0] ? 1 : 0);
    u[end] = edge;
    v[end] = at;
    return true;
}

}  // namespace

void lclipz_(const float x[2], const float y[2], const float xlim[2], const float ylim[2], float xout[2], float yout[2],
             int& status) {
    const float xmin = std::min(xlim[0], xlim[1]), xmax = std::max(xlim[0], xlim[1]);
    const float ymin = std::min(ylim[0], ylim[1]), ymax = std::max(ylim[0], ylim[1]);
    const float ex = 0.0001f * std::fabs(xlim[1] - xlim[0]);
    const float ey = 0.0001f * std::fabs(ylim[1] - ylim[0]);
    xout[0] = x[0];
    xout[1] = x[1];
    yout[0] = y[0];
    yout[1] = y[1];

    auto outside = [&](float px, float py) {
        return px < xmin - ex || px > xmax + ex || py < ymin - ey || py > ymax + ey;
    };
    const bool any_outside = outside(x[0], y[0]) || outside(x[1], y[1]);

    status = 0;
    if (cross(yout, xout, ymin, ey, xmin, xmax, true)) ++status;
    if (cross(xout, yout, xmin, ex, ymin, ymax, true)) ++status;
    if (cross(yout, xout, ymax, ey, xmin, xmax, false)) ++status;
    if (cross(xout, yout, xmax, ex, ymin, ymax, false)) ++status;

    if (!any_outside && xout[0] == x[0] && xout[1] == x[1] && yout[0] == y[0] && yout[1] == y[1]) {
        status = 0;
    } else if (status == 0) {
        status = -1;
    }
}

}  // namespace tgd
