// tgd-view: the terminal stream decoded from the terminal encoder's own
// sequences, pictures of known streams compared pixel by pixel, and the
// LaserJet pages decoded from the driver's own PCL encoder.
#include <gtest/gtest.h>

#include <cairo.h>

#include <set>
#include <string>
#include <utility>

#include "core/bgrp.h"
#include "harness/host_ops.h"
#include "harness/temp_dir.h"
#include "laserjet/pcl.h"
#include "laserjet/raster.h"
#include "terminal/escape.h"
#include "view/pcl_pages.h"
#include "view/render.h"
#include "view/terminal_picture.h"

namespace {

using namespace tgdview;
namespace esc = tgd::esc;

// A pen move and a line as the terminal device writes them from (px, py).
void move(std::string& s, int& px, int& py, int x, int y) {
    esc::move(s, x, y, x - px, y - py);
    px = x, py = y;
}
void line(std::string& s, int& px, int& py, int x, int y) {
    esc::line(s, x, y, x - px, y - py);
    px = x, py = y;
}

// A box of the given pen, a filled triangle, the string "Hi" at size 2
// turned a quarter, then the frame prompt and a clear, then one line.
std::string sample_stream() {
    std::string s;
    int px = -17000, py = -17000;
    esc::device_reset(s);
    s += "Deferred Graphics on\n";  // a message on the alphanumeric screen
    esc::line_type(s, esc::line_type_value(1));
    esc::pen_color(s, esc::pen_color_value(3));
    move(s, px, py, 100, 100);
    line(s, px, py, 200, 100);  // absolute
    line(s, px, py, 200, 110);  // short
    line(s, px, py, 100, 110);
    line(s, px, py, 100, 100);
    esc::fill_single(s, 1);
    esc::polygon_start(s);
    esc::polygon_vertex(s, 300, 50, true);
    esc::polygon_vertex(s, 400, 50, false);
    esc::polygon_vertex(s, 300, 150, false);
    esc::polygon_end(s);
    move(s, px, py, 50, 300);
    esc::text_size(s, esc::text_size_value(2.0f));
    esc::text_direction(s, esc::text_direction_value(90.0f));
    esc::character(s, 'H');
    esc::character(s, 'i');
    esc::frame_prompt(s, true);
    esc::clear(s);
    px = py = -17000;
    move(s, px, py, 10, 10);
    line(s, px, py, 20, 20);
    return s;
}

TEST(TerminalPicture, DecodesWhatTheTerminalEncodersWrite) {
    const auto pictures = decode_terminal(sample_stream());
    ASSERT_EQ(pictures.size(), 2u);
    const auto& items = pictures[0].items;
    ASSERT_EQ(items.size(), 7u);
    const std::pair<Point, Point> edges[] = {
        {{100, 100}, {200, 100}}, {{200, 100}, {200, 110}}, {{200, 110}, {100, 110}}, {{100, 110}, {100, 100}}};
    for (int i = 0; i < 4; ++i) {
        const auto& l = std::get<Line>(items[i]);
        EXPECT_EQ(l.from, edges[i].first) << i;
        EXPECT_EQ(l.to, edges[i].second) << i;
        EXPECT_EQ(l.pen, 5);  // colour 3 is pen 5
        EXPECT_EQ(l.line_type, 1);
    }
    const auto& f = std::get<Fill>(items[4]);
    EXPECT_EQ(f.vertices, (std::vector<Point>{{300, 50}, {400, 50}, {300, 150}}));
    EXPECT_EQ(f.fill_type, 1);
    const auto& h = std::get<Character>(items[5]);
    EXPECT_EQ(h.c, 'H');
    EXPECT_EQ(h.at, (Point{50, 300}));
    EXPECT_EQ(h.size, 2);
    EXPECT_EQ(h.direction, 2);
    EXPECT_EQ(std::get<Character>(items[6]).c, 'i');
    ASSERT_EQ(pictures[1].items.size(), 1u);
    EXPECT_EQ(std::get<Line>(pictures[1].items[0]).to, (Point{20, 20}));
}

// The lit pixels of a PNG written by tgd-view, as (x, y) with y up.
std::set<std::pair<int, int>> lit_pixels(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    std::set<std::pair<int, int>> lit;
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xffffff) != 0)
                lit.insert({x, h - 1 - y});
    cairo_surface_destroy(s);
    return lit;
}

TEST(TerminalPicture, PicturesShowTheBoxTheFillTheStringAndTheClear) {
    tgd::test::TempDir dir;
    const auto pictures = decode_terminal(sample_stream());
    ASSERT_EQ(pictures.size(), 2u);
    ASSERT_EQ(write_picture_png(pictures[0], dir.file("f1.png"), 1), "");
    ASSERT_EQ(write_picture_png(pictures[1], dir.file("f2.png"), 1), "");
    const auto lit = lit_pixels(dir.file("f1.png"));

    // The box: exactly its outline.
    std::set<std::pair<int, int>> box;
    for (int x = 100; x <= 200; ++x) box.insert({x, 100}), box.insert({x, 110});
    for (int y = 100; y <= 110; ++y) box.insert({100, y}), box.insert({200, y});
    std::set<std::pair<int, int>> in_box;
    for (auto p : lit) {
        if (p.first >= 90 && p.first <= 210 && p.second >= 90 && p.second <= 120) in_box.insert(p);
    }
    EXPECT_EQ(in_box, box);

    // The triangle: filled inside, dark outside.
    EXPECT_TRUE(lit.count({320, 60}));
    EXPECT_TRUE(lit.count({340, 100}));
    EXPECT_FALSE(lit.count({380, 120}));
    EXPECT_FALSE(lit.count({295, 60}));

    // "Hi" turned a quarter at size 2: ink only in its two cells, which
    // run upward from (50, 300) and lie left of it (20 rasters wide).
    int ink = 0;
    for (auto [x, y] : lit) {
        if (y < 200) continue;
        EXPECT_TRUE(x >= 30 && x <= 50 && y >= 300 && y <= 300 + 28) << x << "," << y;
        ++ink;
    }
    EXPECT_GT(ink, 20);

    // After the clear: the one line and nothing else.
    const auto second = lit_pixels(dir.file("f2.png"));
    EXPECT_EQ(second.size(), 11u);
    EXPECT_TRUE(second.count({15, 15}));
}

TEST(TerminalPicture, SvgIsWritten) {
    tgd::test::TempDir dir;
    const auto pictures = decode_terminal(sample_stream());
    ASSERT_EQ(write_picture_svg(pictures[0], dir.file("f.svg"), 2), "");
    const std::string head = tgdtest::read_file(dir.file("f.svg")).substr(0, 255);
    EXPECT_NE(head.find("<svg"), std::string::npos);
    EXPECT_NE(head.find("width=\"1024"), std::string::npos);
}

// A page raster with a frame, a diagonal and a long row of ink, written by
// the driver's PCL encoder and decoded again: the same dots, shifted by the
// printable area's corner.
void expect_page_round_trip(bool landscape) {
    using namespace tgd;
    bgrp_ = GraphicsParameters{};
    bgrp_(bg::device_xmax) = 511;
    bgrp_(bg::device_ymax) = 389;
    bgrp_(bg::device_raster_width) = 8.0f / 511;
    bgrp_(bg::device_raster_height) = 6.0f / 389;
    bgrp_(bg::cell_height) = 10;
    const PageGeometry g = make_page_geometry(landscape, 2, 75, 0);
    PageRaster raster(g);
    std::set<std::pair<long, long>> dots;
    auto set = [&](long x, long y) {
        if (!raster.exists(x, y)) return;
        raster.set(x, y);
        dots.insert({x, y});
    };
    for (long x = 40; x < 500; ++x) set(x, 30), set(x, 400);
    for (long y = 30; y <= 400; ++y) set(40, y), set(499, y), set(40 + y, y);
    for (long x = 0; x < raster.width(); x += 3) set(x, 200);
    std::string pcl;
    pcl_header(pcl, true, 2, landscape ? 1 : 0);
    pcl_page(pcl, raster, g);
    pcl_reset(pcl);

    const PclDocument doc = decode_pcl(pcl);
    ASSERT_FALSE(doc.error) << *doc.error;
    ASSERT_EQ(doc.pages.size(), 1u);
    const PclPage& page = doc.pages[0];
    EXPECT_EQ(page.width, landscape ? 825 : 637);
    EXPECT_EQ(page.height, landscape ? 637 : 825);
    const long dx = landscape ? static_cast<long>(static_cast<float>(g.area_right) * g.dot_scale) - g.raster_rows
                              : static_cast<long>(static_cast<float>(g.area_left) * g.dot_scale);
    const long dy = static_cast<long>(static_cast<float>(g.area_top) * g.dot_scale);
    std::set<std::pair<long, long>> seen;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x)
            if (page.at(x, y) == 0) seen.insert({x - dx, y - dy});
    EXPECT_EQ(seen, dots);
}

TEST(PclPages, PortraitPageHasTheRastersDots) { expect_page_round_trip(false); }
TEST(PclPages, LandscapePageHasTheRastersDots) { expect_page_round_trip(true); }

TEST(PclPages, ShadedRectanglesAndPagesAreDecoded) {
    std::string pcl;
    tgd::pcl_header(pcl, true, 2, 0);
    tgd::pcl_position(pcl, 400, 800);
    tgd::pcl_rectangle(pcl, 40, 8, 50, 2);
    tgd::pcl_reset(pcl);
    tgd::pcl_header(pcl, true, 2, 0);
    tgd::pcl_position(pcl, 0, 0);
    tgd::pcl_rectangle(pcl, 8, 8, 0, 0);
    tgd::pcl_reset(pcl);
    const PclDocument doc = decode_pcl(pcl);
    ASSERT_EQ(doc.pages.size(), 2u);
    EXPECT_EQ(doc.pages[0].at(100, 200), 128);  // 50 % grey, at 75 dpi
    EXPECT_EQ(doc.pages[0].at(109, 201), 128);
    EXPECT_EQ(doc.pages[0].at(110, 200), 255);
    EXPECT_EQ(doc.pages[1].at(1, 1), 0);
    EXPECT_TRUE(looks_like_pcl(pcl));
    EXPECT_FALSE(looks_like_pcl(sample_stream()));
    // Raster data cut off is an error, not a read past the end.
    EXPECT_TRUE(decode_pcl("\033E\x1b*r1A\x1b*b500W\x01\x02").error);
}

}  // namespace
