// Raster drawing: line types and their running dash rhythm, white lines,
// Bresenham steps, fill patterns and the scan-line polygon fill.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "laserjet/pen.h"

namespace {

using namespace tgd;

PageRaster portrait_raster() {
    PageGeometry g;
    g.landscape = false;
    g.raster_rows = 39;  // rows 0..39
    g.row_bytes = 8;     // 64 dots
    return PageRaster(g);
}

std::vector<int> row_dots(const PageRaster& r, int y) {
    std::vector<int> xs;
    for (int x = 0; x < r.width(); ++x)
        if (r.test(x, y)) xs.push_back(x);
    return xs;
}

int ink(const PageRaster& r) {
    int n = 0;
    for (auto b : r.bytes()) n += __builtin_popcount(b);
    return n;
}

TEST(LaserJetLines, LineTypesOutsideTheTableWrap) {
    EXPECT_EQ(DashPattern::normalise(9), 1);
    EXPECT_EQ(DashPattern::normalise(10), 2);
    EXPECT_EQ(DashPattern::normalise(-1), 7);
    EXPECT_EQ(DashPattern::normalise(0), 0);
    EXPECT_EQ(DashPattern::normalise(8), 8);
    EXPECT_GE(DashPattern::normalise(INT_MIN), 1);
}

TEST(LaserJetLines, DashRhythmRunsOnIntoTheNextSegment) {
    PageRaster r = portrait_raster();
    RasterPen pen;
    pen.dash.set_line_type(2);  // gap 3, ink 1
    pen.line(r, 0, 5, 7, 5);
    pen.line(r, 8, 5, 13, 5);
    EXPECT_EQ(row_dots(r, 5), (std::vector<int>{3, 7, 11}));
}

TEST(LaserJetLines, TypeZeroDrawsNothingAndNineIsSolid) {
    PageRaster r = portrait_raster();
    RasterPen pen;
    pen.dash.set_line_type(0);
    pen.line(r, 0, 1, 20, 1);
    EXPECT_EQ(ink(r), 0);
    pen.dash.set_line_type(9);
    pen.line(r, 0, 1, 20, 1);
    EXPECT_EQ(ink(r), 21);
}

TEST(LaserJetLines, ColourZeroErasesWhateverTheLineType) {
    PageRaster r = portrait_raster();
    RasterPen pen;
    pen.dash.set_line_type(1);
    pen.line(r, 0, 2, 30, 2);
    pen.color = 0.0f;
    pen.dash.set_line_type(2);
    pen.line(r, 10, 2, 19, 2);
    std::vector<int> expected;
    for (int x = 0; x <= 30; ++x)
        if (x < 10 || x > 19) expected.push_back(x);
    EXPECT_EQ(row_dots(r, 2), expected);
}

TEST(LaserJetLines, BresenhamStepsAndSingleDots) {
    PageRaster r = portrait_raster();
    RasterPen pen;
    pen.line(r, 0, 0, 5, 2);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}})
        EXPECT_TRUE(r.test(x, y)) << x << "," << y;
    EXPECT_EQ(ink(r), 6);
    pen.line(r, 30, 30, 30, 30);
    EXPECT_EQ(ink(r), 7);
    // Steep and reversed.
    pen.line(r, 40, 20, 38, 10);
    EXPECT_TRUE(r.test(40, 20));
    EXPECT_TRUE(r.test(38, 10));
    EXPECT_EQ(ink(r), 18);
}

TEST(LaserJetLines, HugeCoordinatesAreCutToThePage) {
    PageRaster r = portrait_raster();
    RasterPen pen;
    pen.line(r, -(1LL << 30), 7, 1LL << 30, 7);
    EXPECT_EQ(row_dots(r, 7).size(), 64u);
    pen.line(r, -(1LL << 30), -(1LL << 30), -(1LL << 29), 1LL << 30);
    EXPECT_EQ(ink(r), 64);
}

// Lines inside the raster are walked where the dots are stored, which a
// landscape page turns and mirrors: the picture must not depend on it,
// neither the dots nor the dash rhythm, also for lines leaving the page.
TEST(LaserJetLines, LandscapePagesDrawTheSamePicture) {
    PageGeometry g;
    g.landscape = false;
    g.raster_rows = 39;  // 64 by 40 dots
    g.row_bytes = 8;
    PageRaster portrait(g);
    g.landscape = true;
    g.raster_rows = 63;
    g.row_bytes = 5;
    PageRaster landscape(g);
    ASSERT_EQ(landscape.width(), portrait.width());
    ASSERT_EQ(landscape.height(), portrait.height());
    RasterPen p, l;
    unsigned seed = 12345;
    auto next = [&](int lo, int hi) {
        seed = seed * 1103515245u + 12345u;
        return lo + static_cast<int>((seed >> 16) % static_cast<unsigned>(hi - lo + 1));
    };
    for (int i = 0; i < 300; ++i) {
        if (i % 50 == 0) {
            const int type = next(0, 8);
            p.dash.set_line_type(type);
            l.dash.set_line_type(type);
            p.color = l.color = i % 150 == 100 ? 0.0f : 1.0f;
        }
        const int x0 = next(-4, 67), y0 = next(-4, 43), x1 = next(-4, 67), y1 = next(-4, 43);
        p.line(portrait, x0, y0, x1, y1);
        l.line(landscape, x0, y0, x1, y1);
    }
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(portrait.test(x, y), landscape.test(x, y)) << x << "," << y;
    EXPECT_GT(ink(portrait), 0);
}

TEST(LaserJetFill, PatternKHasKDotsInEveryCell) {
    for (int k = 0; k < kFillPatterns; ++k) {
        for (int cx = -8; cx <= 8; cx += 4) {
            for (int cy = -8; cy <= 8; cy += 4) {
                int n = 0;
                for (int x = 0; x < 4; ++x)
                    for (int y = 0; y < 4; ++y) n += pattern_bit(k, cx + x, cy + y);
                EXPECT_EQ(n, k) << "pattern " << k;
            }
        }
    }
    EXPECT_TRUE(pattern_bit(1, 0, 0));
    EXPECT_TRUE(pattern_bit(1, -4, 8));
    EXPECT_FALSE(pattern_bit(1, 1, 0));
}

TEST(LaserJetFill, ColoursChoosePatterns) {
    EXPECT_EQ(pattern_for_color(0), 0);
    EXPECT_EQ(pattern_for_color(1), 16);
    EXPECT_EQ(pattern_for_color(4), 1);
    EXPECT_EQ(pattern_for_color(10), 13);
    EXPECT_EQ(pattern_for_color(11), 16);
    EXPECT_EQ(pattern_for_color(-2), 6);
    EXPECT_EQ(pattern_for_color(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(pattern_for_color(3e38f), pattern_for_color(static_cast<float>(1 << 30)));
}

TEST(LaserJetFill, SquareIncludesItsEdges) {
    PageRaster r = portrait_raster();
    fill_polygon(r, {{2, 2}, {6, 2}, {6, 6}, {2, 6}}, 16);
    EXPECT_EQ(ink(r), 25);
    EXPECT_EQ(row_dots(r, 2), (std::vector<int>{2, 3, 4, 5, 6}));
}

TEST(LaserJetFill, VertexPassedMonotonicallyCountsOnce) {
    PageRaster r = portrait_raster();
    fill_polygon(r, {{0, 0}, {10, 5}, {0, 10}}, 16);
    EXPECT_EQ(row_dots(r, 5), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(row_dots(r, 10), (std::vector<int>{0}));
}

TEST(LaserJetFill, LocalExtremeVertexFillsOneDot) {
    PageRaster r = portrait_raster();
    fill_polygon(r, {{0, 0}, {5, 10}, {10, 0}}, 16);
    EXPECT_EQ(row_dots(r, 10), (std::vector<int>{5}));
    EXPECT_EQ(row_dots(r, 0).size(), 11u);
}

TEST(LaserJetFill, FillIsOpaque) {
    PageRaster r = portrait_raster();
    RasterPen pen;
    for (int y = 0; y < 40; ++y) pen.line(r, 0, y, 63, y);
    fill_polygon(r, {{0, 0}, {15, 0}, {15, 15}, {0, 15}}, pattern_for_color(4));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(r.test(x, y), x % 4 == 0 && y % 4 == 0) << x << "," << y;
    EXPECT_TRUE(r.test(16, 0));
    fill_polygon(r, {{20, 20}, {30, 20}, {30, 30}}, 0);
    EXPECT_FALSE(r.test(29, 21));
}

TEST(LaserJetFill, HostileVerticesStayOnThePage) {
    PageRaster r = portrait_raster();
    const long long big = 1LL << 30;
    fill_polygon(r, {{-big, -big}, {big, -big}, {big, big}, {-big, big}}, 16);
    EXPECT_EQ(ink(r), 64 * 40);
    PageRaster r2 = portrait_raster();
    fill_polygon(r2, {{-big, 3}, {big, 3}, {0, big}}, 16);
    EXPECT_GT(ink(r2), 0);
    fill_polygon(r2, {}, 16);
    fill_polygon(r2, {{1, 1}}, 16);
}

}  // namespace
