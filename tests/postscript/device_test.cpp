// The PostScript device writing real files: pages, paths, rectangles,
// attributes, fonts, points, markers, text, images, one-file mode, the
// print command and appending to an earlier document.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "base/process_state.h"
#include "harness/host_ops.h"
#include "harness/temp_dir.h"
#include "core/bgrp.h"
#include "kernel/markers.h"
#include "settings/ps_par.h"
#include "postscript/device.h"
#include "settings/printer.h"

namespace tgd {
namespace {

using tgdtest::read_file;

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// Every attribute as written at the start of a page with the fixture's
// parameters.
const std::string kPageStart =
    "\n%%Page: 1 1\n%%PageOrientation: Portrait\nA\n1 St\n0 Sw\n1 SC\n0 Sr\n0 Sp\n1 Sx\n0 0 0 0 So\n"
    "0 0 0 0 Sg\n0 Sh\n0 Sd\n1 Sf\n";

// A device 990 rasters square, 72 rasters per inch, in a 1000-point
// region at 72 PostScript units per inch: user, device and PostScript
// coordinates coincide.
class PsDevice : public ::testing::Test {
protected:
    void SetUp() override {
        reset_process_state();
        ps_par = PostScriptSettings::defaults();
        ps_par.region = {0, 0, 1000, 1000};
        ps_par.rasters = 72;
        ps_par.prolog = {"/PVer 1 def"};
        file = dir.file("out.ps");
        CurrentPrinterParameters.file = file;
        ps_hooks.now = [] { return std::time_t(0); };
        ps_hooks.user_name = [] { return std::string("tester"); };
        ps_hooks.run_command = [this](const std::string& c) {
            commands.push_back(c);
            return command_status;
        };
        bgrp_(bg::device_xmax) = 990;
        bgrp_(bg::device_ymax) = 990;
        bgrp_(bg::device_raster_width) = 1.0f / 72;
        bgrp_(bg::device_raster_height) = 1.0f / 72;
        bgrp_(bg::x_scale) = 1;
        bgrp_(bg::y_scale) = 1;
        bgrp_(bg::line_type) = 1;
        bgrp_(bg::color) = 1;
        bgrp_(bg::char_expansion) = 1;
        bgrp_(bg::font_number) = 1;
        bgrp_(bg::inch_per_user_x) = 1.0f / 72;
        bgrp_(bg::inch_per_user_y) = 1.0f / 72;
        bgrp_(bg::marker_size) = 20.0f / 72;
        bgrp_(bg::cell_width_in) = 0.1f;
        params = bgrp_;
    }
    void TearDown() override {
        reset_process_state();
    }

    bool start() { return pscplot.ps_init(params.data(), GraphicsParameters::kSize) != 0; }
    std::string finish() {
        CaptureStderr();
        pscplot.ps_zwrapz();
        messages = GetCapturedStderr();
        return read_file(file);
    }
    // What the first page holds after its attributes, up to its "Z".
    std::string drawing() {
        std::string doc = finish();
        std::size_t at = doc.find(kPageStart);
        if (at == std::string::npos) return "no page start in:\n" + doc;
        at += kPageStart.size();
        return doc.substr(at, doc.find("Z\n%%Trailer") - at);
    }
    void line(std::vector<float> x, std::vector<float> y) {
        pscplot.ps_zlinsz(x.data(), y.data(), static_cast<int>(x.size()));
    }
    void change(std::vector<float> v) { pscplot.ps_amdiff(v.data(), static_cast<int>(v.size())); }

    test::TempDir dir;
    std::string file;
    GraphicsParameters params;
    std::vector<std::string> commands;
    int command_status = 0;
    std::string messages;
};

TEST_F(PsDevice, FreshDocumentFromHeaderToTrailer) {
    ASSERT_TRUE(start());
    line({100, 90, 90}, {100, 130, 110});
    std::string doc = finish();
    EXPECT_EQ(doc.substr(0, 24), "%!PS-Adobe-3.0 EPSF-3.0\n");
    EXPECT_NE(doc.find("%%For: (tester)\n%%CreationDate: " + ps_creation_date()), std::string::npos);
    EXPECT_NE(doc.find("%%BoundingBox: 5 5 996 996\n"), std::string::npos);
    EXPECT_NE(doc.find("/RastersPerInch 72 def\n"), std::string::npos);
    EXPECT_NE(doc.find("%%EndSetup\n\n" + kPageStart + "B\n100 100 m\n10 30 k\n20 z\nE\nZ\n%%Trailer\n%%Pages: 1\n"
                       "%%DocumentNeededResources: font\nW\n%%EOF\n"),
              std::string::npos)
        << doc;
    // The host's prolog defines /PVer: no compatibility block.
    EXPECT_EQ(doc.find("Did not find /PVer"), std::string::npos);
    EXPECT_EQ(messages, "Generated postscript file \"" + file + "\".\n");
    EXPECT_TRUE(commands.empty());
}

TEST_F(PsDevice, ZeroLengthLineOnlyAfterAMoveAndOnePointDrawsNothing) {
    ASSERT_TRUE(start());
    line({50, 50, 50}, {50, 50, 50});
    line({70}, {70});
    EXPECT_EQ(drawing(), "B\n50 50 m\n0 y\nE\n");
}

// The prolog's C strokes and goes on from the current point.
TEST_F(PsDevice, LongPathIsCutAtTheLimit) {
    ps_par.path_limit = 3;
    ASSERT_TRUE(start());
    line({0, 1, 2, 3, 4, 5}, {0, 0, 0, 0, 0, 0});
    EXPECT_EQ(drawing(), "B\n0 0 m\n1 x\n1 x\n1 x\nC % limitcheck avoid max=3\n1 x\n1 x\nE\n");
}

TEST_F(PsDevice, AxisParallelBoxesBecomeRectangles) {
    ASSERT_TRUE(start());
    line({10, 10, 60, 60, 10}, {10, 50, 50, 10, 10});
    std::vector<float> x = {10, 60, 60, 10}, y = {10, 10, 50, 50};
    pscplot.ps_zpolyz(x.data(), y.data(), 4);
    // A box flat in PostScript units is an ordinary path; an open one too.
    line({10, 10, 60, 60, 10}, {10, 10.2f, 10.2f, 10, 10});
    line({10, 10, 60, 60, 10}, {10, 50, 50, 10, 20});
    EXPECT_EQ(drawing(),
              "50 40 10 10 c\n50 40 10 10 b\n"
              "B\n10 10 m\n0 y\n50 x\n50 w\nE\n"
              "B\n10 10 m\n40 y\n50 x\n40 z\n50 10 k\nE\n");
}

TEST_F(PsDevice, AttributesAreWrittenOnlyWhenChanged) {
    ASSERT_TRUE(start());
    line({0, 1}, {0, 0});
    change({8, 2, 44, 0.5f});
    line({0, 1}, {0, 0});
    line({0, 1}, {0, 0});
    EXPECT_EQ(drawing(), "B\n0 0 m\n1 x\nE\n2 St\n0.5 0 0 0 Sg\nB\n0 0 m\n1 x\nE\nB\n0 0 m\n1 x\nE\n");
    EXPECT_EQ(bgrp_(bg::error_reports), -1.0f);
}

// No printer reads nan or inf back: an attribute falls back as a
// float-to-int conversion does (and is written once), a table value
// likewise, and text placed by such a justification is not drawn, as on
// the terminal.
TEST_F(PsDevice, NonFiniteNumbersAreNeverWritten) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    ps_par.gcolors = {nan, -inf};
    ps_par.ngcolors = 2;
    ps_par.gcolor_width = 1;
    ASSERT_TRUE(start());
    line({0, 1}, {0, 0});
    change({8, nan, 10, inf});
    line({0, 1}, {0, 0});
    line({0, 1}, {0, 0});
    pscplot.ps_ztextz(10, 10, "a", 1, nan);
    pscplot.ps_ztextz(10, 10, "b", 1, -inf);
    const std::string doc = finish();
    EXPECT_NE(doc.find("/GColors [\t0\t-1.07374e+09] def\n"), std::string::npos) << doc;
    EXPECT_NE(doc.find("E\n0 St\n1.07374e+09 SC\nB\n0 0 m\n1 x\nE\nB\n0 0 m\n1 x\nE\nZ\n"), std::string::npos)
        << doc;
    EXPECT_EQ(doc.find("nan"), std::string::npos);
    EXPECT_EQ(doc.find("inf"), std::string::npos);
}

TEST_F(PsDevice, FontsAreAnnouncedOncePerPageAndListedAtTheEnd) {
    ps_par.fonts = {"Times-Roman", std::string("Courier\0", 8), "Symbol"};
    ps_par.font_needed.assign(3, 0);
    ps_par.font_on_page.assign(3, 0);
    ASSERT_TRUE(start());
    line({0, 1}, {0, 0});
    change({79, 2});
    line({0, 1}, {0, 0});
    change({79, 1, 79, 2});  // same value in the end: nothing written
    line({0, 1}, {0, 0});
    change({79, -7});  // names no font
    line({0, 1}, {0, 0});
    std::string doc = finish();
    EXPECT_NE(doc.find("0 Sd\n%%IncludeResource: font Times-Roman\n1 Sf\n"), std::string::npos) << doc;
    EXPECT_NE(doc.find("E\n%%IncludeResource: font Courier\n2 Sf\nB\n"), std::string::npos);
    EXPECT_EQ(doc.find("%%IncludeResource: font Courier", doc.find("2 Sf") + 4), std::string::npos);
    EXPECT_NE(doc.find("E\n-7 Sf\nB"), std::string::npos);
    EXPECT_NE(doc.find("%%DocumentNeededResources: font Times-Roman Courier\n"), std::string::npos);
}

TEST_F(PsDevice, PointsWithCharactersAndMarkers) {
    ASSERT_TRUE(start());
    pscplot.ps_begin_page();
    std::vector<float> x = {10, 15, 15}, y = {10, 15, 15};
    change({15, 42});
    pscplot.ps_zpntsz(x.data(), y.data(), 3);
    change({15, 46});
    pscplot.ps_zpntsz(x.data(), y.data(), 1);
    change({15, 20});  // symbols 19 to 31 draw nothing
    pscplot.ps_zpntsz(x.data(), y.data(), 1);
    x = {100}, y = {100};
    change({15, 0});
    pscplot.ps_zpntsz(x.data(), y.data(), 1);
    change({15, 15});
    pscplot.ps_zpntsz(x.data(), y.data(), 1);
    EXPECT_EQ(drawing(),
              "42 Sp\n/Bu Pu B\n10 10 m\n5 5 h\nPd\nE\n46 Sp\n/Pc Pu B\n10 10 m\nPd\nE\n20 Sp\n0 Sp\n"
              "20 20 90 90 c\n15 Sp\n20 20 90 90 b\n");
}

// A marker is the path of its figure around each point, whatever the
// marker, its size, the scale and where the point falls between
// PostScript units: the same bytes as drawing each figure on its own.
TEST_F(PsDevice, MarkersAreTheirFiguresAroundEachPoint) {
    std::vector<float> x, y;
    for (int i = 0; i < 12; ++i) {
        x.push_back(100 + static_cast<float>(i) * 3.37f);
        y.push_back(400 - static_cast<float>(i) * 1.91f);
    }
    const int n = static_cast<int>(x.size());
    params(bg::x_scale) = 1.37f;
    params(bg::y_offset) = 0.45f;
    for (float size : {7.0f, 5.3f, 0.9f, 0.0f}) {
        params(bg::marker_size) = size / 72;
        ASSERT_TRUE(start());
        for (int m = 0; m < kMarkerCount; ++m) pscplot.psmark_(x.data(), y.data(), n, m);
        const std::string markers = finish();
        ASSERT_TRUE(start());
        const float h = marker_size_inches() / (2.0f * bgrp_(bg::inch_per_user_x));
        for (int m = 0; m < kMarkerCount; ++m)
            for (int i = 0; i < n; ++i)
                for (MarkerStroke& s : marker_strokes(m, x[i], y[i], h, h)) {
                    const int k = static_cast<int>(s.x.size());
                    if (s.filled)
                        pscplot.ps_zpolyz(s.x.data(), s.y.data(), k);
                    else
                        pscplot.ps_zlinsz(s.x.data(), s.y.data(), k);
                }
        EXPECT_EQ(finish(), markers) << "size " << size;
    }
}

TEST_F(PsDevice, SegmentsAndText) {
    ASSERT_TRUE(start());
    std::vector<float> x1 = {10, 30}, y1 = {10, 30}, x2 = {15, 30}, y2 = {15, 20};
    pscplot.ps_zsegsz(x1.data(), y1.data(), x2.data(), y2.data(), 2);
    pscplot.ps_ztextz(100, 200, "a(b", 3, 0.5f);
    bgrp_(bg::char_expansion) = 0;
    pscplot.ps_ztextz(1, 2, "x", 1, 0);
    EXPECT_EQ(drawing(), "10 10 m\n5 5 h\n30 30 m\n10 z\nE\n(a\\(b) 100 200 0.5 T\n");
    // Centred "a(b" with cells of 7.2 units: its last centre 1 cell right.
    EXPECT_NEAR(bgrp_(bg::text_end_x), 100 - 0.1 * 72 + 3 * 7.2 - 3.6, 1e-3);
    EXPECT_NEAR(bgrp_(bg::text_end_y), 200, 1e-4);
}

TEST_F(PsDevice, ImagesWithOneAndTwoHexDigitsPerCell) {
    ps_par.nicolors = 15;
    ASSERT_TRUE(start());
    std::vector<float> x = {10, 20, 30, 40}, y = {20, 30}, z = {0, 0.5f, -9};
    float lo = 1, hi = 0;
    pscplot.ps_zimagz(x.data(), y.data(), z.data(), 4, 2, 3, lo, hi, -9);
    EXPECT_EQ(lo, 0);
    ps_par.nicolors = 16;
    pscplot.ps_zimagz(x.data(), y.data(), z.data(), 4, 2, 2, lo, hi, -9);  // the third value is missing
    // Values below and above the range take the lowest and the highest level.
    ps_par.nicolors = 15;
    z = {-5, 5, 20};
    lo = 0;
    hi = 10;
    pscplot.ps_zimagz(x.data(), y.data(), z.data(), 4, 2, 3, lo, hi, -9);
    EXPECT_EQ(drawing(),
              "gsave\n10 20 translate\n30 10 scale\n3 1 4\n%%BeginData: 2 Hex Lines\nSImage\n1800\n"
              "%%EndData\ngrestore % end image\n"
              "gsave\n10 20 translate\n30 10 scale\n3 1 8\n%%BeginData: 2 Hex Lines\nSImage\n010900\n"
              "%%EndData\ngrestore % end image\n"
              "gsave\n10 20 translate\n30 10 scale\n3 1 4\n%%BeginData: 2 Hex Lines\nSImage\n18f0\n"
              "%%EndData\ngrestore % end image\n");
}

TEST_F(PsDevice, ImageAtLevel2CountsItsBytes) {
    ps_par.nicolors = 6;
    ps_par.dsc_level = 200;
    ASSERT_TRUE(start());
    std::vector<float> x = {0, 1, 2}, y = {0, 1, 2}, z = {1, 2, 3, 4};
    float lo = 0, hi = 0;
    pscplot.ps_zimagz(x.data(), y.data(), z.data(), 3, 3, 4, lo, hi, -1);
    EXPECT_EQ(lo, -0.5f);
    std::string doc = finish();
    EXPECT_NE(doc.find("2 2 4\n%%BeginBinary: 13\nSImage\n66\n66\n%%EndBinary\n"), std::string::npos) << doc;
}

TEST_F(PsDevice, OneFileModeKeepsTheDocumentOpenBetweenFrames) {
    CurrentPrinterParameters.onefile = 1;
    CurrentPrinterParameters.eject_op = 1;
    ASSERT_TRUE(start());
    line({0, 1}, {0, 0});
    pscplot.ps_zwrapz();
    EXPECT_EQ(read_file(file).find("%%Trailer"), std::string::npos);
    ASSERT_TRUE(start());
    pscplot.ps_zwrapz();  // a frame that draws nothing makes no page
    ASSERT_TRUE(start());
    line({0, 1}, {0, 0});
    CurrentPrinterParameters.eject_op = 0;
    std::string doc = finish();
    EXPECT_EQ(doc.substr(0, 15), "%!PS-Adobe-3.0\n");
    // The second page writes every attribute again.
    EXPECT_NE(doc.find("E\nZ\n\n%%Page: 2 2\n%%PageOrientation: Portrait\nA\n1 St\n"), std::string::npos) << doc;
    EXPECT_NE(doc.find("%%Trailer\n%%Pages: 2\n"), std::string::npos);
}

TEST_F(PsDevice, PrintCommandGetsTheFileNameQuoted) {
    file = dir.file("it's here.ps");
    CurrentPrinterParameters.file = file;
    CurrentPrinterParameters.print = 1;
    ps_par.print_command = std::string("lpr -Plw\0", 9);
    command_status = 256;
    ASSERT_TRUE(start());
    finish();
    const std::string command = "lpr -Plw '" + dir.file("it'\\''s here.ps") + "' &";
    EXPECT_EQ(commands, std::vector<std::string>{command});
    EXPECT_EQ(messages, "Finished postscript file, executing command \"" + command +
                            "\".\nPossible error in executing that commmand (status=256).\n");
}

TEST_F(PsDevice, WriteFailureIsReportedAndNotPrinted) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP();
    file = "/dev/full";
    CurrentPrinterParameters.file = file;
    CurrentPrinterParameters.print = 1;
    CurrentPrinterParameters.postscript_command = "true";
    ASSERT_TRUE(start());
    CaptureStderr();
    pscplot.ps_zwrapz();  // (reading /dev/full would never end)
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(GetCapturedStderr(), "Error writing postscript file \"/dev/full\".\n");
}

TEST_F(PsDevice, IllegalRegionRefusesToStart) {
    ps_par.region = {0, 0, 0, 100};
    CaptureStderr();
    EXPECT_FALSE(start());
    EXPECT_EQ(GetCapturedStderr(), "Illegal imageable region: 0 0 0 100\n");
    EXPECT_FALSE(std::filesystem::exists(file));
}

// Region values far beyond any page still give whole numbers in the box.
TEST_F(PsDevice, HugeRegionGivesABoundedBoundingBox) {
    ps_par.region = {0, 0, 3e38f, 3e38f};
    ASSERT_TRUE(start());
    std::string doc = finish();
    EXPECT_NE(doc.find("%%BoundingBox: 1073741824 1073741824 1073741825 1073741825\n"), std::string::npos) << doc;
}

// The text size follows the figure's height: 1.58 cells of 1/72 inch at
// 5 of 13.75 inches, in single precision from left to right.
TEST_F(PsDevice, TextSizeScalesWithTheFigureHeight) {
    ps_par.point_size = 0;
    ps_par.height = 5;
    params(bg::cell_height) = 1.58f;
    ASSERT_TRUE(start());
    EXPECT_NE(finish().find("/PointSize 0.574545 def\n"), std::string::npos);
}

TEST_F(PsDevice, HostTemplateNamesTheFile) {
    CurrentPrinterParameters.file.clear();
    ps_par.outfile = dir.file("fig.##.ps") + std::string(1, '\0');
    std::ofstream(dir.file("fig.01.ps")) << "taken";
    CaptureStderr();
    ASSERT_TRUE(start());
    pscplot.ps_zwrapz();
    EXPECT_EQ(GetCapturedStderr(),
              "Starting to make postscript file.\nGenerated postscript file \"" + dir.file("fig.02.ps") + "\".\n");
}

// An earlier document of three pages, written by this device.
const std::string kEarlier =
    "%!PS-Adobe-3.0 EPSF-3.0\n%%Title: (old)\n%%BoundingBox: 100 100 200 200\n"
    "%%DocumentNeededResources: (atend)\n%%EndComments\n%%BeginProlog\n /PVer 1 def\n%%EndProlog\n"
    "\n%%Page: 1 1\nA\nZ\n\n%%Page: 2 2\nA\nZ\n\n%%Page: 3 3\nA\nZ\n"
    "%%Trailer\n%%Pages: 3\n%%DocumentNeededResources: font Courier\n%%+ font Helvetica\nW\n%%EOF\n";

class PsAppend : public PsDevice {
protected:
    void SetUp() override {
        PsDevice::SetUp();
        ps_par.append = 1;
        ps_par.fonts = {"Courier", "Helvetica", "Times-Roman"};
        ps_par.font_needed.assign(3, 0);
        ps_par.font_on_page.assign(3, 0);
        params(bg::font_number) = 3;
    }
    std::vector<std::string> old_files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            if (e.path().filename().string().rfind("ps.old.", 0) == 0) names.push_back(e.path().string());
        return names;
    }
};

TEST_F(PsAppend, NextFrameBecomesTheNextPage) {
    std::ofstream(file) << kEarlier;
    CaptureStderr();
    ASSERT_TRUE(start());
    EXPECT_EQ(GetCapturedStderr(), "Starting to make postscript file.\n");
    line({0, 1}, {0, 0});
    std::string doc = finish();
    EXPECT_EQ(doc,
              "%!PS-Adobe-3.0\n%%CreationDate: [appended to file] " + ps_creation_date() +
                  "%%Title: (old)\n%%BoundingBox: 5 5 996 996\n%%BoundingBox: 100 100 200 200\n"
                  "%%DocumentNeededResources: (atend)\n%%EndComments\n%%BeginProlog\n /PVer 1 def\n%%EndProlog\n"
                  "\n%%Page: 1 1\nA\nZ\n\n%%Page: 2 2\nA\nZ\n\n%%Page: 3 3\nA\nZ\n"
                  "\n%%Page: 4 4\n%%PageOrientation: Portrait\nA\n1 St\n0 Sw\n1 SC\n0 Sr\n0 Sp\n1 Sx\n"
                  "0 0 0 0 So\n0 0 0 0 Sg\n0 Sh\n0 Sd\n%%IncludeResource: font Times-Roman\n3 Sf\n"
                  "B\n0 0 m\n1 x\nE\nZ\n%%Trailer\n%%Pages: 4\n"
                  "%%DocumentNeededResources: font Courier Helvetica Times-Roman\nW\n%%EOF\n");
    EXPECT_TRUE(old_files().empty());
}

TEST_F(PsAppend, CoveringBoundingBoxIsCopiedAlone) {
    std::string earlier = kEarlier;
    earlier.replace(earlier.find("100 100 200 200"), 15, "0 0 1000 1000");
    std::ofstream(file) << earlier;
    ASSERT_TRUE(start());
    std::string doc = finish();
    EXPECT_NE(doc.find("%%Title: (old)\n%%BoundingBox: 0 0 1000 1000\n%%DocumentNeededResources: (atend)\n"),
              std::string::npos)
        << doc;
}

TEST_F(PsAppend, UnionWithAHugeRegionStaysBounded) {
    ps_par.region = {0, 0, 3e38f, 3e38f};
    std::ofstream(file) << kEarlier;
    ASSERT_TRUE(start());
    std::string doc = finish();
    EXPECT_NE(doc.find("%%BoundingBox: 100 100 1073741825 1073741825\n%%BoundingBox: 100 100 200 200\n"),
              std::string::npos)
        << doc;
}

// The replacement is exactly the fresh document, also when the earlier
// document is longer than it.
TEST_F(PsAppend, UnrecognisedDocumentIsKeptAndReplaced) {
    std::vector<std::string> docs;
    for (std::string earlier : {std::string("not postscript\n"), std::string("%!PS-Adobe-2.0\n%%Page: 1 1\n"),
                                std::string(), "%!PS-Adobe-2.0\n" + std::string(40000, 'x') + "\n"}) {
        std::ofstream(file, std::ios::trunc) << earlier;
        CaptureStderr();
        ASSERT_TRUE(start());
        std::string text = GetCapturedStderr();
        std::vector<std::string> olds = old_files();
        ASSERT_EQ(olds.size(), 1u);
        EXPECT_EQ(read_file(olds[0]), earlier);
        const std::string status = earlier.empty()                     ? "Trouble reading first line of file."
                                   : earlier[0] == 'n'                 ? "File is not a PostScript file."
                                                                       : "File is not a recent TAVIX graphics file.";
        EXPECT_EQ(text, "Starting to make postscript file.\n" + status + "\nCould not append to '" + file +
                            "'\nLeft old contents in '" + olds[0] + "'\n");
        std::string doc = finish();
        EXPECT_EQ(doc.substr(0, 24), "%!PS-Adobe-3.0 EPSF-3.0\n");
        EXPECT_NE(doc.find("%%Pages: 0\n"), std::string::npos);
        docs.push_back(doc);
        EXPECT_TRUE(doc == docs.front()) << earlier.size() << "-byte earlier file gave " << doc.size() << " bytes";
        std::filesystem::remove(olds[0]);
    }
}

}  // namespace
}  // namespace tgd
