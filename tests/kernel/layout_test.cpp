// The layout of the graphics terminal's frame: plot kinds, clipping, and
// what bad settings report.
#include <gtest/gtest.h>

#include <cmath>

#include "core/reports.h"
#include "kernel/capture.h"

using namespace tgd;
using tgd::test::FdCapture;

namespace {

// The figures of the layout are printed rounded to the digits shown.
void expect_shown(float actual, double shown, double tolerance = 6e-7) {
    EXPECT_NEAR(actual, shown, std::max(std::fabs(shown) * 1e-5, tolerance));
}

class Layout : public ::testing::Test {
protected:
    void SetUp() override { tgdtest::start_terminal_kernel(); }
};

// The plot's edges in fractions of the figure, to the five decimals shown
// (the top edge may be shown with four).
void expect_plot_edges(double x1, double x2, double y1, double y2, double y2_tolerance = 5e-6) {
    expect_shown(bgrp_(bg::plot_x1), x1, 5e-6);
    expect_shown(bgrp_(bg::plot_x2), x2, 5e-6);
    expect_shown(bgrp_(bg::plot_y1), y1, 5e-6);
    expect_shown(bgrp_(bg::plot_y2), y2, y2_tolerance);
}

TEST_F(Layout, SquareAspectAndInchPlots) {
    spptyz_("s");
    expect_plot_edges(0.23297, 0.80559, 0.13111, 0.8946, 5e-5);
    expect_shown(bgrp_(bg::plot_width), 4.58098, 5e-6);
    expect_shown(bgrp_(bg::plot_height), 4.58098, 5e-6);
    expect_shown(bgrp_(bg::x_offset), 119.04724);
    expect_shown(bgrp_(bg::x_scale), 292.60989);

    mxpltz_();
    bgrp_(bg::plot_width) = 4.0f;
    bgrp_(bg::plot_height) = 2.0f;
    spptyz_("a");
    expect_plot_edges(0.07905, 0.95951, 0.21937, 0.80634);
    expect_shown(bgrp_(bg::plot_width), 7.0437, 5e-5);
    expect_shown(bgrp_(bg::plot_height), 3.52185, 5e-6);

    tgd::test::FdCapture out;
    bgrp_(bg::plot_width) = 3.0f;
    bgrp_(bg::plot_height) = 2.0f;
    spptyz_("i");
    expect_plot_edges(0.33178, 0.70678, 0.34619, 0.67952);
    EXPECT_EQ(out.take(), "");

    bgrp_(bg::plot_width) = 10.0f;
    bgrp_(bg::plot_height) = 2.0f;
    spptyz_("i");
    EXPECT_EQ(out.take(), "GR-Z Error from Routine zzpltz\nPlot specified in inches too large\n");
    expect_plot_edges(0.07905, 0.95951, 0.34619, 0.67952);
}

TEST_F(Layout, OtherLettersAreStoredAsM) {
    spptyz_("q");
    EXPECT_EQ(bgrp_(bg::plot_type), 109.0f);
    bgrp_(bg::plot_x1) = 0.25f;
    spptyz_("d");
    EXPECT_EQ(bgrp_(bg::plot_type), 100.0f);
    EXPECT_EQ(bgrp_(bg::plot_x1), 0.25f);
}

TEST_F(Layout, ClipToFigure) {
    bgrp_(bg::clip_to_figure) = 1.0f;
    zscalz_();
    EXPECT_EQ(bgrp_(bg::clip_xmin), 0.0f);
    EXPECT_EQ(bgrp_(bg::clip_xmax), 511.0f);
    EXPECT_EQ(bgrp_(bg::clip_ymin), 0.0f);
    EXPECT_EQ(bgrp_(bg::clip_ymax), 389.0f);
}

TEST_F(Layout, PlotThatDoesNotFitGetsTheWholeFigure) {
    tgd::test::FdCapture out;
    bgrp_(bg::margin_bottom) = 4.0f;
    bgrp_(bg::margin_top) = 4.0f;
    zzpltz_();
    EXPECT_EQ(out.take(), "GR-Z Error from Routine zzpltz\nComputed plot of type m does not fit\n");
    EXPECT_EQ(bgrp_(bg::plot_x1), 0.0f);
    EXPECT_EQ(bgrp_(bg::plot_x2), 1.0f);
    EXPECT_EQ(bgrp_(bg::plot_y1), 0.0f);
    EXPECT_EQ(bgrp_(bg::plot_y2), 1.0f);
}

TEST_F(Layout, ScalingReportsEvenWhenSilencedAndKeepsTheTransform) {
    tgd::test::FdCapture out;
    const float x_scale = bgrp_(bg::x_scale);
    bgrp_(bg::user_x2) = bgrp_(bg::user_x1);
    bgrp_(bg::error_reports) = -1.0f;
    zscalz_();
    EXPECT_EQ(out.take(), "GR-Z Error from Routine zscalz\nInvalid user co-ordinates -- scaling not done\n");
    EXPECT_EQ(bgrp_(bg::error_reports), -1.0f);
    EXPECT_EQ(bgrp_(bg::x_scale), x_scale);

    bgrp_(bg::user_x2) = 1.0f;
    bgrp_(bg::figure_x2) = 0.0f;
    bgrp_(bg::error_reports) = 0.0f;
    zscalz_();
    EXPECT_EQ(out.take(), "GR-Z Error from Routine zscalz\nInvalid figure region -- scaling not done\n");
    EXPECT_EQ(bgrp_(bg::error_reports), 0.0f);
}

TEST_F(Layout, InvalidRasterSizesFallBack) {
    tgd::test::FdCapture out;
    bgrp_(bg::device_raster_width) = -1.0f;
    zrdszz_();
    EXPECT_EQ(out.take(), "GR-Z Error from Routine zrdszz\nInvalid raster sizes -- will use default\n");
    EXPECT_EQ(bgrp_(bg::raster_width), 0.001f);
    EXPECT_EQ(bgrp_(bg::raster_height), 0.001f);

    bgrp_(bg::device_raster_width) = 0.01f;
    bgrp_(bg::device_raster_height) = NAN;
    zrdszz_();
    EXPECT_EQ(out.take(), "GR-Z Error from Routine zrdszz\nInvalid raster sizes -- will use default\n");
    EXPECT_EQ(bgrp_(bg::raster_height), 0.001f);
}

TEST_F(Layout, ChangeVectorsApplyPairsInOrderAndIgnoreBadEntries) {
    const GraphicsParameters before = bgrp_;
    const float v[] = {10, 3, 8.9f, 2, 0, 5, 201, 5, NAN, 5, -1e30f, 5, 10, 4, 15};
    amdiff_(v, 15);
    EXPECT_EQ(bgrp_(bg::color), 4.0f);
    EXPECT_EQ(bgrp_(bg::line_type), 2.0f);
    EXPECT_EQ(bgrp_(bg::plot_symbol), before(bg::plot_symbol));  // the odd last value
    GraphicsParameters expected = before;
    expected(bg::color) = 4.0f;
    expected(bg::line_type) = 2.0f;
    EXPECT_EQ(bgrp_.v, expected.v);

    const float user[] = {62, 2};
    amdiff_(user, 2);
    EXPECT_EQ(bgrp_(bg::x_scale), before(bg::x_scale));
    EXPECT_EQ(bgrp_(bg::clip_xmax), before(bg::clip_xmax));
}

TEST_F(Layout, ReportsFollowTheTruncatedErrorReportsEntry) {
    tgd::test::FdCapture out;
    bgrp_(bg::error_reports) = -0.5f;
    zerrpz_("zlinsz", "Needs at least 2 points");
    EXPECT_EQ(out.take(), "GR-Z Error from Routine zlinsz\nNeeds at least 2 points\n");
    bgrp_(bg::error_reports) = -1.0f;
    zerrpz_("zlinsz", "Needs at least 2 points");
    zobdsz_("Lines", 1.5f, 2.0f);
    ztobdz_("abc", 3, 0.5f, 0.25f);
    EXPECT_EQ(out.take(), "");
    bgrp_(bg::error_reports) = 0.0f;
    zobdsz_("Lines", 1.5f, 2.0f);
    ztobdz_("abc", 3, 0.5f, -0.25f);
    EXPECT_EQ(out.take(), "Lines out of bounds X= 1.5 Y= 2\nText string: abc\n out of bounds at X= 0.5 Y= -0.25\n");
}

}  // namespace
