// Printing with the PostScript method through the protocol: the document
// written for a host session, and what Ghostscript makes of it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "deferred/temp_dir.h"
#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

// A grey-scale rendering: one byte per pixel, row 0 at the top.
struct Raster {
    int width = 0, height = 0;
    std::string pixels;
    bool dark(int x, int y) const { return static_cast<unsigned char>(pixels[std::size_t(y) * width + x]) < 128; }
};

// Renders the first page at 72 dots per inch; an empty raster when
// Ghostscript fails.
Raster render(const std::string& ps, const std::string& pgm) {
    std::string command =
        "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r72 -dDEVICEWIDTHPOINTS=612 -dDEVICEHEIGHTPOINTS=792 "
        "-dFIXEDMEDIA -sOutputFile='" + pgm + "' '" + ps + "' </dev/null >/dev/null 2>&1";
    Raster r;
    if (std::system(command.c_str()) != 0) return r;
    std::ifstream in(pgm, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> std::ws;
    while (in.peek() == '#') in.ignore(1 << 20, '\n');  // Ghostscript's comment
    in >> r.width >> r.height >> maxval;
    in.get();
    r.pixels.resize(std::size_t(r.width) * r.height);
    in.read(r.pixels.data(), static_cast<std::streamsize>(r.pixels.size()));
    if (magic != "P5" || !in) r = Raster{};
    return r;
}

class PostScriptPrint : public ::testing::Test {
protected:
    // The clock of the PostScript header is fixed through
    // TGD_POSTSCRIPT_TIME (seconds since the epoch, read in UTC here); the
    // user name comes from the variable "*()".
    PostScriptPrint() : tgd(options()) {}

    static Options options() {
        Options o;
        o.env = {{"TGD_POSTSCRIPT_TIME", "86400"}, {"TZ", "UTC"}, {"*()", "e2e user"}};
        o.batch = true;
        return o;
    }

    void SetUp() override {
        tgd.initialise();
        option('r');
        tgd.send_reals({0, 0, 612, 792});
        ASSERT_EQ(tgd.read_byte(), 'z');
    }
    void TearDown() override { EXPECT_EQ(tgd.finish(), 0); }

    void option(char letter) { send_ps_option(tgd, letter); }
    void polyline(const std::vector<float>& x, const std::vector<float>& y) {
        tgd.send_byte('L');
        tgd.send_int(static_cast<int>(x.size()));
        tgd.send_reals(x);
        tgd.send_reals(y);
        ASSERT_EQ(tgd.read_byte(), 'L');
        tgd.read_reals(2);
    }
    void print(const std::string& options) {
        tgd.send_byte('s');
        tgd.send_text(options);
        ASSERT_EQ(tgd.read_byte(), 's');
    }

    tgd::test::TempDir dir;
    TgdProcess tgd;
};

TEST_F(PostScriptPrint, HorizontalLineIsPrintedAndRendered) {
    polyline({0.1f, 0.9f}, {0.5f, 0.5f});
    const std::string out = dir.file("out.ps");
    print("-1 -1 0 -1 -1 0 0 0 postscript '' " + out + " '' ''");
    const std::string doc = read_file(out);
    const std::string header =
        "%!PS-Adobe-3.0 EPSF-3.0\n"
        "%%Title: (TAVIX Graphics)\n"
        "%%Creator: TAVIX\n"
        "%%For: (e2e user)\n"
        "%%CreationDate: Fri Jan  2 00:00:00 1970\n"
        "%%BoundingBox: 18 180 595 613\n"
        "%%Pages: (atend)\n"
        "%%DocumentData: Clean7Bit\n"
        "%%DocumentNeededResources: (atend)\n"
        "%%EndComments\n"
        "%%BeginProlog\n";
    EXPECT_EQ(doc.substr(0, header.size()), header);
    const std::string rest =
        "%%EndProlog\n%%BeginSetup\n"
        "% fixed controlling parameters\n"
        "/Landscape false def\n"
        "/Region [18 180 594 612] def\n"
        "/bw statusdict begin /processcolors where\n"
        "{pop processcolors} {1} ifelse end 1 eq def\n"
        "/RastersPerInch 300 def\n"
        "/PointSize 14 def\n"
        "/Fonts [] def\n/GColors [] def\n/BackIdx true def\n/BackCol -1 def\n/IColors [] def\n"
        "/Colors GColors def\n/Bu {Pc} def\n\n"
        "% all initialization action here\n"
        "Iv I\ncurrentdict /Ic known {Ic} if\ncurrentdict /If known {If} if\n\n%%EndSetup\n\n"
        "\n%%Page: 1 1\n%%PageOrientation: Portrait\nA\n"
        "1 St\n1 Sw\n1 SC\n0 Sr\n79 Sp\n1 Sx\n0.0790488 0.959512 0.131105 0.894602 So\n0 1 0 1 Sg\n0 Sh\n0 Sd\n"
        "1 Sf\n"
        "B\n401 923 m\n1691 x\nE\n"
        "Z\n%%Trailer\n%%Pages: 1\n%%DocumentNeededResources: font\nW\n%%EOF\n";
    std::size_t at = doc.find("%%EndProlog\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(doc.substr(at), rest);
    EXPECT_TRUE(tgd.wait_for_stderr("Generated postscript file \"" + out + "\"."));

    // 300 rasters per inch from the region's corner (18, 180): the line
    // runs from x 114.2 to 520.1 points at 401.5 points up, row 390.5.
    Raster page = render(out, dir.file("page.pgm"));
    ASSERT_EQ(page.width, 612);
    ASSERT_EQ(page.height, 792);
    for (int x = 116; x <= 518; ++x) {
        bool inked = false;
        for (int y = 388; y <= 393; ++y) inked = inked || page.dark(x, y);
        EXPECT_TRUE(inked) << "no ink at x=" << x;
    }
    int stray = 0;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x)
            if (page.dark(x, y) && (y < 387 || y > 394 || x < 112 || x > 522)) ++stray;
    EXPECT_EQ(stray, 0);
}

TEST_F(PostScriptPrint, UncreatableFileFallsBackToTmp) {
    polyline({0.1f, 0.9f}, {0.5f, 0.5f});
    const std::string out = dir.file("no/such/directory/out.ps");
    print("-1 -1 0 -1 -1 0 0 0 postscript '' " + out + " '' ''");
    const std::string message = "cannot open file '" + out + "' in current directory\nwill try to open file in /tmp.\n";
    ASSERT_TRUE(tgd.wait_for_stderr(message));
    ASSERT_TRUE(tgd.wait_for_stderr("Generated postscript file \"/tmp/ps.out."));
    const std::string text = tgd.stderr_text();
    const std::size_t at = text.find("Generated postscript file \"") + 27;
    const std::string made = text.substr(at, text.find('"', at) - at);
    EXPECT_EQ(made.size(), std::string("/tmp/ps.out.XXXXXXX").size());
    EXPECT_EQ(read_file(made).rfind("%!PS-Adobe-3.0", 0), 0u);
    std::remove(made.c_str());
}

}  // namespace
