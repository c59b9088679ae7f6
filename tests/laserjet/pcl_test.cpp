// PCL encoding: the job header, raster runs and the sparse page, byte for
// byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/process_state.h"
#include "laserjet/pcl.h"

namespace {

using namespace tgd;
using namespace std::string_literals;

TEST(LaserJetPcl, HeaderWithAndWithoutReset) {
    std::string out;
    pcl_header(out, true, 2, 1);
    EXPECT_EQ(out, "\x1b" "E\x1b&l2A\x1b&l1o0E\x1b" "9");
    out.clear();
    pcl_header(out, false, 26, 0);
    EXPECT_EQ(out, "\x1b&l26A\x1b&l0o0E\x1b" "9");
}

TEST(LaserJetPcl, RectangleCommands) {
    std::string out;
    pcl_position(out, 12, -3);
    pcl_rectangle(out, 40, 8, 21, 2);
    EXPECT_EQ(out, "\x1b*p12x-3Y\x1b*c40a8b21g2P");
}

TEST(LaserJetPcl, RunsSkipBlanksAndStopAfter31ZeroBytes) {
    std::vector<std::uint8_t> row(60, 0);
    row[5] = 0x01;
    row[46] = 0xFF;  // 40 zero bytes between
    EXPECT_EQ(raster_runs(row.data(), 60), (std::vector<RasterRun>{{5, 1}, {46, 1}}));

    std::fill(row.begin(), row.end(), 0);
    row[0] = 0x80;
    row[31] = 0x80;  // 30 zero bytes between: one run
    EXPECT_EQ(raster_runs(row.data(), 60), (std::vector<RasterRun>{{0, 32}}));

    row[31] = 0;
    row[32] = 0x80;  // 31 zero bytes between: the run is cut
    EXPECT_EQ(raster_runs(row.data(), 60), (std::vector<RasterRun>{{0, 1}, {32, 1}}));

    std::fill(row.begin(), row.end(), 0);
    row[58] = 1;
    row[59] = 2;  // ink up to the row's end
    EXPECT_EQ(raster_runs(row.data(), 60), (std::vector<RasterRun>{{58, 2}}));
    EXPECT_TRUE(raster_runs(std::vector<std::uint8_t>(60, 0).data(), 60).empty());
}

PageGeometry letter(bool landscape) {
    reset_process_state();
    bgrp_(bg::device_xmax) = 1;
    bgrp_(bg::device_ymax) = 1;
    return make_page_geometry(landscape, 2, 75, 1);
}

TEST(LaserJetPcl, BlankPageIsOnlyTheResolution) {
    PageGeometry g = letter(false);
    PageRaster r(g);
    std::string out;
    pcl_page(out, r, g);
    EXPECT_EQ(out, "\x1b*t75R");
}

TEST(LaserJetPcl, PortraitDotIsPlacedFromTheTopLeftOfTheArea) {
    PageGeometry g = letter(false);
    PageRaster r(g);
    r.set(8, 4);  // row 4, byte 1
    std::string out;
    pcl_page(out, r, g);
    EXPECT_EQ(out, "\x1b*t75R\x1b*p32x76Y\x1b*r1A\x1b*b1W\x80\x1b*rB"s);
}

TEST(LaserJetPcl, LandscapeRowsRunFromTheRightEdge) {
    PageGeometry g = letter(true);
    PageRaster r(g);
    r.set(0, 0);    // last raster row (794)
    r.set(0, 17);   // same row, byte 2
    r.set(794, 9);  // row 0, byte 1
    std::string out;
    pcl_page(out, r, g);
    EXPECT_EQ(out, "\x1b*t75R"
                   "\x1b*p3180x82Y\x1b*r1A\x1b*b1W\x40\x1b*rB"
                   "\x1b*p4x50Y\x1b*r1A\x1b*b3W\x80\x00\x40\x1b*rB"s);
}

}  // namespace
