// Lines and filled polygons in the LaserJet page raster.
#include "laserjet/pen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/convert.h"

namespace tgd {

namespace {

// Dash sequences: the low count bits of bits, most significant first,
// 1 ink and 0 gap.
struct Dash {
    unsigned bits;
    int count;
};
constexpr std::array<Dash, 9> kDashes = {{
    {0x0, 1},     // 0: nothing
    {0x1, 1},     // 1: solid
    {0x1, 4},     // 2: gap 3, ink 1
    {0xF1, 11},   // 3: gap 3, ink 4, gap 3, ink 1
    {0xFF, 11},   // 4: gap 3, ink 8
    {0x2F5, 11},  // 5: gap 1, ink 1, gap 1, ink 4, gap 1, ink 1, gap 1, ink 1
    {0x2FF, 11},  // 6: gap 1, ink 1, gap 1, ink 8
    {0x15, 9},    // 7: gap 4, ink 1, gap 1, ink 1, gap 1, ink 1
    {0xF, 8},     // 8: gap 4, ink 4
}};

// First 8 bytes of each 16 x 16 pattern; the pattern repeats every 4 dots
// in x, so the other 24 bytes repeat these.
constexpr std::array<std::array<std::uint8_t, 8>, kFillPatterns> kPatterns = {{
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x11, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x11, 0x11, 0x00, 0x00, 0x44, 0x44, 0x00, 0x00},
    {0x55, 0x55, 0x00, 0x00, 0x44, 0x44, 0x00, 0x00},
    {0x55, 0x55, 0x00, 0x00, 0x55, 0x55, 0x00, 0x00},
    {0x55, 0x55, 0x22, 0x22, 0x55, 0x55, 0x00, 0x00},
    {0x55, 0x55, 0x22, 0x22, 0x55, 0x55, 0x88, 0x88},
    {0x55, 0x55, 0xAA, 0xAA, 0x55, 0x55, 0x88, 0x88},
    {0x55, 0x55, 0xAA, 0xAA, 0x55, 0x55, 0xAA, 0xAA},
    {0x77, 0x77, 0xAA, 0xAA, 0x55, 0x55, 0xAA, 0xAA},
    {0x77, 0x77, 0xAA, 0xAA, 0xDD, 0xDD, 0xAA, 0xAA},
    {0xFF, 0xFF, 0xAA, 0xAA, 0xDD, 0xDD, 0xAA, 0xAA},
    {0xFF, 0xFF, 0xAA, 0xAA, 0xFF, 0xFF, 0xAA, 0xAA},
    {0xFF, 0xFF, 0xBB, 0xBB, 0xFF, 0xFF, 0xAA, 0xAA},
    {0xFF, 0xFF, 0xBB, 0xBB, 0xFF, 0xFF, 0xEE, 0xEE},
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xEE, 0xEE},
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
}};

// Polygon colours 1..10 to patterns; index 0 is colour 0.
constexpr std::array<int, 11> kColorPatterns = {0, 16, 6, 11, 1, 10, 5, 14, 8, 3, 13};

constexpr long long kScanLines = 4096;

// Lines reaching further than this beyond the raster are cut to it first,
// so that hostile coordinates cannot make a line take forever.
constexpr long long kLineMargin = 1 << 16;

long long mod(long long v, long long m) { return ((v % m) + m) % m; }
int sign(long long v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

// Cuts the line to the box [lo, hi] in both axes (Liang-Barsky in double).
// False when nothing of it is inside.
bool cut_line(double& x0, double& y0, double& x1, double& y1, double xlo, double xhi, double ylo, double yhi) {
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - xlo, xhi - x0, y0 - ylo, yhi - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
    const double ax = x0, ay = y0;
    x0 = ax + t0 * dx;
    y0 = ay + t0 * dy;
    x1 = ax + t1 * dx;
    y1 = ay + t1 * dy;
    return true;
}

// Walks the dots of a line of dx by dy dots with |dx| >= |dy|, both ends
// included, from its start (Bresenham): plot() at each dot, step_x(+-1)
// and step_y(+-1) between them.
template <class Walker>
void walk_x_major(long long dx, long long dy, Walker& w) {
    const long long ax = 2 * std::llabs(dx), ay = 2 * std::llabs(dy);
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    long long d = ay - (ax >> 1);
    for (long long left = std::llabs(dx);; --left) {
        w.plot();
        if (left == 0) break;
        if (d >= 0) {
            w.step_y(sy);
            d -= ax;
        }
        w.step_x(sx);
        d += ay;
    }
}

// A walker with its axes swapped.
template <class Walker>
struct Swapped {
    Walker& w;
    void plot() { w.plot(); }
    void step_x(int s) { w.step_y(s); }
    void step_y(int s) { w.step_x(s); }
};

// Walks any line of dx by dy dots along its longer axis (y on a tie).
// Each coordinate stays between those of the ends, and the walk treats
// both axes alike: it visits the same dots in the same order when they are
// swapped or mirrored.
template <class Walker>
void walk_line(long long dx, long long dy, Walker& w) {
    if (std::llabs(dx) > std::llabs(dy)) {
        walk_x_major(dx, dy, w);
    } else {
        Swapped<Walker> swapped{w};
        walk_x_major(dy, dx, swapped);
    }
}

// A walk in logical dots through the pen's checked plot.
struct CheckedWalk {
    RasterPen& pen;
    PageRaster& raster;
    long long x, y;
    void plot() { pen.plot(raster, x, y); }
    void step_x(int s) { x += s; }
    void step_y(int s) { y += s; }
};

// A walk in stored dots (x along the row, y across rows) that are known to
// exist; mark(cursor) draws a dot.
template <class Mark>
struct StoredWalk {
    PageRaster::Cursor cursor;
    Mark mark;
    void plot() { mark(cursor); }
    void step_x(int s) { cursor.step_bit(s); }
    void step_y(int s) { cursor.step_row(s); }
};

// Walks the line between stored dots a and b of the raster.
template <class Mark>
void walk_stored(PageRaster& raster, PageRaster::Stored a, PageRaster::Stored b, Mark mark) {
    StoredWalk<Mark> w{raster.cursor(a), mark};
    walk_line(b.bit - a.bit, b.row - a.row, w);
}

}  // namespace

int DashPattern::normalise(int line_type) {
    if (line_type >= 0 && line_type <= 8) return line_type;
    return 1 + static_cast<int>((static_cast<unsigned>(line_type) - 1u) & 7u);
}

void DashPattern::set_line_type(int line_type) {
    line_type_ = normalise(line_type);
    const Dash& d = kDashes[static_cast<std::size_t>(line_type_)];
    length_ = d.count;
    for (int i = 0; i < d.count; ++i) seq_[static_cast<std::size_t>(i)] = (d.bits >> (d.count - 1 - i)) & 1u;
    cursor_ = 0;
}

bool DashPattern::next() {
    bool ink = seq_[static_cast<std::size_t>(cursor_)] != 0;
    if (++cursor_ >= length_) cursor_ = 0;
    return ink;
}

void DashPattern::skip(long long count) { cursor_ = static_cast<int>((cursor_ + count % length_) % length_); }

void RasterPen::plot(PageRaster& raster, long long x, long long y) {
    if (color == 0.0f) {
        raster.clear(x, y);
    } else if (dash.line_type() == 1 || dash.next()) {  // a solid line leaves the dash cursor alone
        raster.set(x, y);
    }
}

void RasterPen::line(PageRaster& raster, long long x0, long long y0, long long x1, long long y1) {
    const long long w = raster.width(), h = raster.height();
    auto far = [&](long long x, long long y) {
        return x < -kLineMargin || y < -kLineMargin || x > w + kLineMargin || y > h + kLineMargin;
    };
    if (far(x0, y0) || far(x1, y1)) {
        // Only the part near the raster is walked; the dash rhythm moves on
        // by the dots left out before it.
        const bool dashed = color != 0.0f && dash.line_type() != 1;
        double fx0 = static_cast<double>(x0), fy0 = static_cast<double>(y0);
        double fx1 = static_cast<double>(x1), fy1 = static_cast<double>(y1);
        const bool x_major = std::llabs(x1 - x0) > std::llabs(y1 - y0);
        const long long major = x_major ? std::llabs(x1 - x0) : std::llabs(y1 - y0);
        if (!cut_line(fx0, fy0, fx1, fy1, -2.0, static_cast<double>(w + 1), -2.0, static_cast<double>(h + 1))) {
            if (dashed) dash.skip(major + 1);
            return;
        }
        const long long nx0 = std::llround(fx0), ny0 = std::llround(fy0);
        if (dashed) dash.skip(x_major ? std::llabs(nx0 - x0) : std::llabs(ny0 - y0));
        x0 = nx0;
        y0 = ny0;
        x1 = std::llround(fx1);
        y1 = std::llround(fy1);
    }
    if (raster.exists(x0, y0) && raster.exists(x1, y1)) {
        // Every dot of the line lies in the box of its ends, so in the
        // raster: it is walked where the dots are stored, unchecked, and
        // the choice between erasing, solid and dashed is made once.
        const PageRaster::Stored a = raster.stored(x0, y0), b = raster.stored(x1, y1);
        if (color == 0.0f) {
            walk_stored(raster, a, b, [](const PageRaster::Cursor& c) { c.clear(); });
            return;
        }
        raster.note_drawn(a);
        raster.note_drawn(b);
        if (dash.line_type() == 1) {
            walk_stored(raster, a, b, [](const PageRaster::Cursor& c) { c.set(); });
        } else {
            walk_stored(raster, a, b, [this](const PageRaster::Cursor& c) {
                if (dash.next()) c.set();
            });
        }
        return;
    }
    CheckedWalk walk{*this, raster, x0, y0};
    walk_line(x1 - x0, y1 - y0, walk);
}

bool pattern_bit(int pattern, long long x, long long y) {
    const auto& p = kPatterns[static_cast<std::size_t>(std::clamp(pattern, 0, kFillPatterns - 1))];
    const long long i = mod(x, 16) * 16 + mod(y, 16);
    return ((p[static_cast<std::size_t>((i / 8) % 8)] >> (i % 8)) & 1) != 0;
}

int pattern_for_color(float color) {
    const int c = std::abs(to_int(color));
    if (c == 0) return 0;
    return kColorPatterns[static_cast<std::size_t>((c - 1) % 10 + 1)];
}

namespace {

struct Edge {
    long long ymin, ymax, x, err, dy, adx;
    int step;

    // Moves the edge down by lines scan lines.
    void advance(long long lines = 1) {
        err += adx * lines;
        if (err >= dy) {
            const long long q = err / dy;
            x += step * q;
            err -= q * dy;
        }
    }
};

}  // namespace

void fill_polygon(PageRaster& raster, const std::vector<Dot>& v, int pattern) {
    const std::size_t n = v.size();
    if (n == 0) return;
    const long long last_line = std::min(kScanLines, raster.height()) - 1;
    // The edges, taken up in the order of the scan lines where they start.
    std::vector<Edge> edges;
    edges.reserve(n);
    for (std::size_t k = 0; k < n; ++k) {
        const Dot& a = v[k];
        const Dot& b = v[(k + 1) % n];
        if (a.y == b.y) continue;
        // The next vertex after b that leaves b's scan line.
        const Dot* r = &a;
        for (std::size_t j = 2; j <= n; ++j) {
            const Dot& c = v[(k + j) % n];
            if (c.y != b.y) {
                r = &c;
                break;
            }
        }
        Edge e{};
        e.adx = std::llabs(a.x - b.x);
        if (b.y > a.y) {
            e.ymin = a.y;
            e.ymax = b.y;
            e.x = a.x;
            e.step = sign(b.x - a.x);
            e.dy = e.ymax - e.ymin;
            e.err = e.dy >> 1;
            // A vertex passed monotonically is counted by one edge only.
            if (r->y > b.y) e.ymax -= 1;
        } else {
            e.ymin = b.y;
            e.ymax = a.y;
            e.x = b.x;
            e.step = sign(a.x - b.x);
            e.dy = e.ymax - e.ymin;
            e.err = e.dy >> 1;
            if (r->y < b.y) {
                e.ymin += 1;
                e.advance();
            }
        }
        // Edges starting above the page start at its first scan line.
        if (e.ymin < 0 && e.ymax >= 0) {
            e.advance(-e.ymin);
            e.ymin = 0;
        }
        if (e.ymin < 0 || e.ymin > last_line || e.ymax < e.ymin) continue;
        edges.push_back(e);
    }
    if (edges.empty()) return;
    std::stable_sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.ymin < b.ymin; });

    // Only the scan lines the polygon covers are visited.
    std::vector<Edge> active;
    std::vector<long long> crossings;
    const long long width = raster.width();
    std::size_t next = 0;
    for (long long y = edges.front().ymin; y <= last_line; ++y) {
        std::erase_if(active, [y](const Edge& e) { return e.ymax < y; });
        for (; next < edges.size() && edges[next].ymin == y; ++next) active.push_back(edges[next]);
        if (active.empty()) {
            if (next == edges.size()) break;
            y = edges[next].ymin - 1;
            continue;
        }
        crossings.clear();
        for (Edge& e : active) {
            crossings.push_back(e.x);
            e.advance();
        }
        std::sort(crossings.begin(), crossings.end());
        if (crossings.size() % 2 != 0) crossings.push_back(crossings.back());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const long long from = std::max(crossings[i], 0LL);
            const long long to = std::min(crossings[i + 1], width - 1);
            for (long long x = from; x <= to; ++x) {
                if (pattern_bit(pattern, x, y))
                    raster.set(x, y);
                else
                    raster.clear(x, y);
            }
        }
    }
}

}  // namespace tgd
