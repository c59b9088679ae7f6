// The LaserJet device's operations on a page whose device coordinates are
// its dots: positioning and parameter changes, lines with clipping, points,
// stroke-font text, markers, polygons and image rectangles.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>
#include <string>

#include "base/process_state.h"
#include "harness/temp_dir.h"
#include "harness/fd_capture.h"
#include "laserjet/font.h"
#include "laserjet/page_fixture.h"
#include "settings/printer.h"

namespace {

using namespace tgd;
using ljtest::dot;
using ljtest::ink;
using ljtest::kHeight;
using ljtest::start_page;

void polyline(std::vector<float> x, std::vector<float> y) { hplj_page.hplj_zlinsz(x, y); }

TEST(LaserJetDevice, ParameterChangeTakesEffectAtTheNextMove) {
    start_page();
    const float pairs[] = {8, 2.0f};
    hplj_page.hplj_amdiff(pairs);
    EXPECT_EQ(bgrp_(bg::line_type), 2.0f);
    EXPECT_EQ(bgrp_(bg::error_reports), -1.0f);
    EXPECT_EQ(hplj_page.pen().dash.line_type(), 1);
    polyline({0, 7, 11}, {10, 10, 10});
    EXPECT_EQ(hplj_page.pen().dash.line_type(), 2);
    // The corner dot is drawn by both segments; the rhythm runs through it.
    EXPECT_EQ(ink(), 3);
    EXPECT_TRUE(dot(3, 10) && dot(7, 10) && dot(10, 10));
    EXPECT_FALSE(hplj_page.blank());
}

TEST(LaserJetDevice, PolylineIsClippedToTheWindow) {
    start_page();
    bgrp_(bg::clip_xmin) = 10;
    bgrp_(bg::clip_xmax) = 20;
    polyline({0, 30}, {5, 5});
    EXPECT_FALSE(dot(9, 5));
    EXPECT_TRUE(dot(10, 5));
    EXPECT_TRUE(dot(20, 5));
    EXPECT_FALSE(dot(21, 5));
    EXPECT_EQ(ink(), 11);
    polyline({-5, -1}, {1, 40});  // outside: nothing
    EXPECT_EQ(ink(), 11);
    const float x0[] = {12, 15}, y0[] = {0, 0}, x1[] = {12, 15}, y1[] = {2, 2};
    hplj_page.hplj_zsegsz(x0, y0, x1, y1);
    EXPECT_EQ(ink(), 17);
}

TEST(LaserJetDevice, ColourZeroLinesErase) {
    start_page();
    polyline({0, 30}, {5, 5});
    bgrp_(bg::color) = 0;
    polyline({5, 9}, {5, 5});
    EXPECT_EQ(ink(), 31 - 5);
}

TEST(LaserJetDevice, DotPointsOnlyInsideTheWindow) {
    start_page();
    bgrp_(bg::plot_symbol) = '.';
    bgrp_(bg::clip_xmax) = 30;
    const float x[] = {5, 25, 40}, y[] = {5, 6, 7};
    hplj_page.hplj_zpntsz(x, y);
    EXPECT_EQ(ink(), 2);
    EXPECT_TRUE(dot(5, 5) && dot(25, 6));
    bgrp_(bg::plot_symbol) = 20;  // no marker 20
    hplj_page.hplj_zpntsz(x, y);
    EXPECT_EQ(ink(), 2);
}

TEST(LaserJetDevice, CharacterPointsAreStrokeGlyphs) {
    start_page();
    bgrp_(bg::plot_symbol) = 'I';  // one vertical stroke from y -9 to 12
    const float x[] = {20}, y[] = {20};
    hplj_page.hplj_zpntsz(x, y);
    EXPECT_EQ(ink(), 22);
    EXPECT_TRUE(dot(20, 11) && dot(20, 32));
}

// Leftmost and rightmost inked column, and lowest and highest inked row.
struct Box {
    int x0 = 1 << 20, x1 = -1, y0 = 1 << 20, y1 = -1;
};
Box ink_box() {
    Box b;
    for (int y = 0; y <= kHeight; ++y)
        for (int x = 0; x < ljtest::kWidth; ++x)
            if (dot(x, y)) {
                b.x0 = std::min(b.x0, x);
                b.x1 = std::max(b.x1, x);
                b.y0 = std::min(b.y0, y);
                b.y1 = std::max(b.y1, y);
            }
    return b;
}

void text(const char* s, float x, float y, float adj) { hplj_page.hplj_ztextz(x, y, s, adj); }

TEST(LaserJetDevice, TextIsJustifiedAndTurned) {
    start_page(14);  // half a dot per font unit
    text("HI", 10, 20, 0);
    Box left = ink_box();
    // H's origin is R(11 / 2) = 6 dots right of the point, its left stroke
    // trunc(-7 / 2) = -3 from there.
    EXPECT_EQ(left.x0, 13);
    start_page(14);
    text("HI", 30, 20, 0.5f);
    Box centred = ink_box();
    // Half of the 30 units of "HI" is R(7.5) = 8 dots to the left.
    EXPECT_EQ(centred.x0, 30 - 8 + 3);
    EXPECT_EQ(centred.x1 - centred.x0, left.x1 - left.x0);
    EXPECT_EQ(hplj_page.pen_position().x, 30);  // the pen stays at the point

    start_page();
    bgrp_(bg::string_angle) = 90;
    text("HI", 30, 5, 0);
    Box up = ink_box();
    EXPECT_GT(up.y1 - up.y0, up.x1 - up.x0);  // the text runs upward
    EXPECT_GE(up.y0, 5);
}

TEST(LaserJetDevice, TextIsDrawnSolidAndTheLineTypeComesBack) {
    start_page();
    bgrp_(bg::line_type) = 2;
    polyline({0, 3}, {0, 0});  // one dot, and the move takes up line type 2
    text("I", 20, 20, 0);
    EXPECT_EQ(ink(), 1 + 22);
    EXPECT_EQ(hplj_page.pen().dash.line_type(), 2);
}

// A text without characters is reported like the kernel's and skipped;
// the page goes on.
TEST(LaserJetDevice, TextWithoutCharactersIsSkipped) {
    start_page();
    tgd::test::FdCapture err;
    polyline({0, 10}, {1, 1});
    text("", 5, 5, 0);
    polyline({0, 10}, {3, 3});
    EXPECT_TRUE(hplj_page.active());
    EXPECT_FALSE(hplj_page.blank());
    EXPECT_EQ(ink(), 22);
    EXPECT_NE(err.take().find("Number of characters not positive"), std::string::npos);
}

TEST(LaserJetDevice, MarkersAreOutlinesOrFilledShapes) {
    start_page();
    bgrp_(bg::marker_size) = 10;  // inches; with one inch per user unit:
    bgrp_(bg::inch_per_user_x) = 1;
    bgrp_(bg::inch_per_user_y) = 1;
    const float x[] = {20}, y[] = {20};
    hplj_page.ljmark_(x, y, 0);  // square
    EXPECT_EQ(ink(), 40);  // a 10 by 10 square outline
    EXPECT_TRUE(dot(15, 15) && dot(25, 25) && !dot(20, 20));
    start_page();
    bgrp_(bg::marker_size) = 10;
    bgrp_(bg::inch_per_user_x) = 1;
    bgrp_(bg::inch_per_user_y) = 1;
    hplj_page.ljmark_(x, y, 15);  // filled square
    EXPECT_EQ(ink(), 121);
    hplj_page.ljmark_(x, y, 19);  // none
    EXPECT_EQ(ink(), 121);
}

TEST(LaserJetDevice, PolygonPatternFollowsTheColour) {
    start_page();
    bgrp_(bg::color) = 4;
    const float x[] = {0, 15, 15, 0}, y[] = {0, 0, 15, 15};
    hplj_page.hplj_zpolyz(x, y);
    EXPECT_EQ(ink(), 16);
    EXPECT_EQ(hplj_page.pen().color, 4.0f);
}

TEST(LaserJetDevice, ImageRowsMergeIntoShadedRectangles) {
    tgd::test::TempDir dir;
    start_page();
    ASSERT_TRUE(hplj_page.file().open(dir.file("img.lj"), "a"));
    bgrp_(bg::color) = 7;
    const float x[] = {0, 4, 8, 12, 16, 20}, y[] = {0, 8};
    const float z[] = {1, 1, 2, -1, -1};
    hplj_page.hplj_zimagz(x, y, z, 1, 6, -1);
    EXPECT_EQ(bgrp_(bg::color), 7.0f);
    ASSERT_TRUE(hplj_page.file().close());
    std::ifstream in(dir.file("img.lj"), std::ios::binary);
    // Level 1 (1 percent) over 8 dots, level 2 (3 percent) over 4; rows
    // are measured down from the page top (48 - 8 = 40) plus the margin 60.
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "\x1b*p0x100Y\x1b*c8a8b1g2P\x1b*p8x100Y\x1b*c4a8b3g2P");
    EXPECT_EQ(ink(), 0);
}

TEST(LaserJetDevice, ImageWithTooFewValuesStopsAtTheirEnd) {
    tgd::test::TempDir dir;
    start_page();
    ASSERT_TRUE(hplj_page.file().open(dir.file("img.lj"), "a"));
    const float x[] = {0, 4, 8}, y[] = {0, 8, 16};
    const float z[] = {6, -5};
    hplj_page.hplj_zimagz(x, y, z, 1, 1, -1);  // equal bounds widen to 0.5..1.5
    ASSERT_TRUE(hplj_page.file().close());
    std::ifstream in(dir.file("img.lj"), std::ios::binary);
    // 6 is far above 1.5 and takes the top level (56 percent), -5 the
    // lowest (1 percent); the second row has no values.
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "\x1b*p0x100Y\x1b*c4a8b56g2P\x1b*p4x100Y\x1b*c4a8b1g2P");
}

TEST(LaserJetDevice, RefusalsDrawNothing) {
    start_page();
    tgd::test::FdCapture err;
    hplj_page.hplj_zbrshz();
    hplj_page.hplj_zspinz();
    EXPECT_EQ(err.take(),
              "Cannot draw brushing display on the LaserJet.\ncannot draw spinning display on the LaserJet yet\n");
    EXPECT_EQ(ink(), 0);
}

TEST(LaserJetFont, GlyphsOfTheExamples) {
    const Glyph& h = stroke_glyph('H');
    EXPECT_EQ(h.left, -11);
    EXPECT_EQ(h.right, 11);
    EXPECT_EQ(h.points.size(), 8u);
    EXPECT_EQ(glyph_strokes(h).size(), 3u);
    EXPECT_EQ(stroke_glyph(' ').right - stroke_glyph(' ').left, 16);
    EXPECT_TRUE(stroke_glyph(' ').points.empty());
    EXPECT_EQ(stroke_glyph('!').points.size(), 8u);
    EXPECT_EQ(&stroke_glyph('\x01'), &stroke_glyph(static_cast<char>(0xE9)));
    EXPECT_EQ(stroke_glyph('\x01').left, -11);
    for (int c = 33; c < 127; ++c) EXPECT_FALSE(stroke_glyph(static_cast<char>(c)).points.empty()) << c;
}

}  // namespace

namespace {

TEST(LaserJetStart, CompletesParametersAndSurvivesHostileValues) {
    tgd::test::TempDir dir;
    reset_process_state();
    CurrentPrinterParameters.file = dir.file("h.lj");
    CurrentPrinterParameters.rasters = 200;
    CurrentPrinterParameters.print = 0;
    CurrentPrinterParameters.horizontal = 0;
    std::vector<float> params(250, std::numeric_limits<float>::quiet_NaN());
    params[bg::device_xmax - 1] = std::numeric_limits<float>::infinity();
    params[bg::x_scale - 1] = 3e38f;
    tgd::test::FdCapture err;
    ASSERT_EQ(hplj_page.hplj_init(params), 1);
    EXPECT_EQ(CurrentPrinterParameters.rasters, 150);
    EXPECT_EQ(CurrentPrinterParameters.papersize, 2);
    EXPECT_EQ(CurrentPrinterParameters.onefile, 0);
    EXPECT_EQ(CurrentPrinterParameters.font, 4);
    EXPECT_EQ(hplj_page.raster().bytes().size(), hplj_page.geometry().raster_size());
    const float x[] = {-1e30f, 1e30f, 0}, y[] = {1e30f, -1e30f, 0};
    hplj_page.hplj_zlinsz(x, y);
    hplj_page.hplj_zpolyz(x, y);
    hplj_page.hplj_zpntsz(x, y);
    text("AB", 1e30f, -1e30f, 1e30f);
    hplj_page.hplj_zwrapz();
    EXPECT_FALSE(hplj_page.active());
    std::ifstream in(dir.file("h.lj"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}).substr(0, 2), "\x1b" "E");
}

}  // namespace
