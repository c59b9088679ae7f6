// Page geometry, the mapping of device coordinates to dots and the bit
// layout of the page raster in both orientations.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "base/process_state.h"
#include "laserjet/raster.h"

namespace {

using namespace tgd;

void device_range(float xmax, float ymax, float inch_per_unit) {
    reset_process_state();
    bgrp_(bg::device_xmax) = xmax;
    bgrp_(bg::device_ymax) = ymax;
    bgrp_(bg::device_raster_width) = inch_per_unit;
    bgrp_(bg::device_raster_height) = inch_per_unit;
    bgrp_(bg::cell_height) = 10;
}

TEST(LaserJetGeometry, ResolutionSnapsDownToSupportedValues) {
    EXPECT_EQ(snap_laserjet_dpi(200), 150);
    EXPECT_EQ(snap_laserjet_dpi(50), 75);
    EXPECT_EQ(snap_laserjet_dpi(1200), 300);
    EXPECT_EQ(snap_laserjet_dpi(100), 100);
    EXPECT_EQ(snap_laserjet_dpi(INT_MAX), 300);
    EXPECT_EQ(snap_laserjet_dpi(INT_MIN), 75);
}

TEST(LaserJetGeometry, LandscapeLetterAt300Dpi) {
    device_range(1000, 700, 0.01f);
    PageGeometry g = make_page_geometry(true, 2, 300, 1);
    EXPECT_EQ(g.page_w, 3177);
    EXPECT_EQ(g.page_h, 2397);
    EXPECT_EQ(g.raster_rows, 3177);
    EXPECT_EQ(g.row_bytes, 299);
    EXPECT_EQ(g.raster_size(), 3178u * 299u);
    // Relatively wider than the page: the width fills it.
    EXPECT_EQ(g.plot_w, 3177);
    EXPECT_EQ(g.plot_h, static_cast<int>(0.7f * 3177));
}

TEST(LaserJetGeometry, PortraitA4At75Dpi) {
    device_range(1000, 1000, 0.01f);
    PageGeometry g = make_page_geometry(false, 26, 75, 0);
    EXPECT_EQ(g.page_w, 584);
    EXPECT_EQ(g.raster_rows, 847);
    EXPECT_EQ(g.row_bytes, 73);
    EXPECT_EQ(g.area_right, 2335);
    // A square picture is relatively wider than the page; its natural
    // size of 10 inches (750 dots) is cut to the width.
    EXPECT_EQ(g.plot_w, 584);
    EXPECT_EQ(g.plot_h, 584);
}

TEST(LaserJetGeometry, UnknownPaperIsLetterAndSmallPictureKeepsItsSize) {
    device_range(400, 300, 0.01f);  // 4 by 3 inches
    PageGeometry g = make_page_geometry(true, 99, 75, 0);
    EXPECT_EQ(g.area_right, 3180);
    EXPECT_EQ(g.plot_w, 300);
    EXPECT_EQ(g.plot_h, 225);
    // Centred: the device's left edge is half the spare width in.
    EXPECT_EQ(g.map_x(0), (g.page_w - 300) / 2);
    EXPECT_EQ(g.map_x(400), (g.page_w - 300) / 2 + 300);
    // y is flipped: the device's bottom is far down the page.
    EXPECT_EQ(g.map_y(0), g.page_h - (g.page_h - 225) / 2);
    EXPECT_EQ(g.map_y_up(0), (g.page_h - 225) / 2);
}

TEST(LaserJetGeometry, HostileValuesGiveDefinedNumbersAndAnOrdinaryRaster) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float v : {nan, inf, -inf, 0.0f, 3e38f}) {
        device_range(v, v, v);
        PageGeometry g = make_page_geometry(false, 3, 300, 0);
        EXPECT_EQ(g.raster_rows, 4077);
        EXPECT_EQ(g.row_bytes, 299);
        (void)g.map_x(v);
        (void)g.map_y(-v);
    }
}

TEST(LaserJetRaster, PortraitDotsRunAlongRowsMostSignificantBitFirst) {
    device_range(1, 1, 1);
    PageGeometry g = make_page_geometry(false, 2, 75, 1);
    PageRaster r(g);
    r.set(0, 0);
    r.set(9, 2);
    EXPECT_EQ(r.row(0)[0], 0x80);
    EXPECT_EQ(r.row(2)[1], 0x40);
    r.clear(9, 2);
    EXPECT_EQ(r.row(2)[1], 0);
    // Dots that do not exist are ignored.
    r.set(g.row_bits(), 0);
    r.set(-1, 0);
    r.set(0, -1);
    r.set(0, g.raster_rows + 1);
    r.set(LLONG_MAX, LLONG_MIN);
    EXPECT_TRUE(r.exists(g.row_bits() - 1, g.raster_rows));
    int ink = 0;
    for (auto b : r.bytes()) ink += __builtin_popcount(b);
    EXPECT_EQ(ink, 1);
}

TEST(LaserJetRaster, LandscapePagesAreStoredTurned) {
    device_range(1, 1, 1);
    PageGeometry g = make_page_geometry(true, 2, 75, 1);
    PageRaster r(g);
    r.set(0, 0);    // top left of the logical page: last row, first bit
    r.set(3, 10);   // row raster_rows - 3, byte 1, bit 2
    EXPECT_EQ(r.row(g.raster_rows)[0], 0x80);
    EXPECT_EQ(r.row(g.raster_rows - 3)[1], 0x20);
    EXPECT_TRUE(r.test(3, 10));
    EXPECT_FALSE(r.exists(g.raster_rows + 1, 0));
    EXPECT_FALSE(r.exists(0, g.row_bits()));
    EXPECT_TRUE(r.exists(g.raster_rows, g.row_bits() - 1));
}

}  // namespace
