// Printing with the PostScript method through the protocol: the document
// written for a host session, and what Ghostscript makes of it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "harness/ghostscript.h"
#include "harness/temp_dir.h"
#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

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
    Rendering rendering = render_pages(out, 72, dir.file("page"));
    ASSERT_EQ(rendering.status, 0) << rendering.messages;
    ASSERT_EQ(rendering.pages.size(), 1u);
    const GreyPicture& page = rendering.pages[0];
    ASSERT_EQ(page.width, 612);
    ASSERT_EQ(page.height, 792);
    for (int x = 116; x <= 518; ++x) {
        bool inked = false;
        for (int y = 388; y <= 393; ++y) inked = inked || page.ink(x, y);
        EXPECT_TRUE(inked) << "no ink at x=" << x;
    }
    int stray = 0;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x)
            if (page.ink(x, y) && (y < 387 || y > 394 || x < 112 || x > 522)) ++stray;
    EXPECT_EQ(stray, 0);
}

// Without a prolog from the host the document stands on its own: its
// setup leaves the operand stack as it found it and defines bw, every page
// renders, ps2pdf converts it, and a page picked out with psselect renders
// as it did in the whole document.  The document is three frames appended
// into one file.
TEST_F(PostScriptPrint, DocumentWithTheBuiltInPrologStandsOnItsOwn) {
    option('l');
    tgd.send_byte('a');
    tgd.send_int(1);
    ASSERT_EQ(tgd.read_byte(), 'z');
    const std::string out = dir.file("three.ps");
    for (int k = 0; k < 3; ++k) {
        const float v = 0.2f + 0.3f * static_cast<float>(k);
        polyline({0.1f, 0.9f}, {v, v});
        print("-1 -1 0 -1 -1 0 0 0 postscript '' " + out + " '' ''");
        send_letter(tgd, 'E');
    }
    const std::string doc = read_file(out);
    EXPECT_EQ(count_of(doc, "\n%%Page: "), 3u);
    EXPECT_NE(doc.find("\n%%Pages: 3\n"), std::string::npos);

    std::string said;
    const std::size_t setup_end = doc.find("%%EndSetup\n");
    ASSERT_NE(setup_end, std::string::npos);
    std::ofstream(dir.file("setup.ps")) << doc.substr(0, setup_end) << "count == bw ==\n";
    EXPECT_EQ(run_shell("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -sOutputFile=/dev/null '" +
                            dir.file("setup.ps") + "'",
                        said),
              0);
    EXPECT_EQ(said, "0\ntrue\n");

    // Each page shows its own line: a row of ink 0.3 of the figure apart.
    const Rendering whole = render_pages(out, 72, dir.file("whole"));
    EXPECT_EQ(whole.status, 0);
    EXPECT_EQ(whole.messages, "");
    ASSERT_EQ(whole.pages.size(), 3u);
    std::vector<int> rows;
    for (const GreyPicture& page : whole.pages) {
        int row = -1, inked = 0;
        for (int y = 0; y < page.height; ++y) {
            int n = 0;
            for (int x = 0; x < page.width; ++x) n += page.ink(x, y);
            if (n > inked) inked = n, row = y;
        }
        EXPECT_GT(inked, 300);
        rows.push_back(row);
    }
    EXPECT_GT(rows[0] - rows[1], 60);
    EXPECT_NEAR(rows[0] - rows[1], rows[1] - rows[2], 2);

    EXPECT_EQ(run_shell("ps2pdf '" + out + "' '" + dir.file("three.pdf") + "'", said), 0) << said;
    EXPECT_EQ(read_file(dir.file("three.pdf")).rfind("%PDF", 0), 0u);
    EXPECT_EQ(render_pages(dir.file("three.pdf"), 72, dir.file("pdf")).pages.size(), 3u);

    ASSERT_EQ(run_shell("psselect -q -p2 '" + out + "' '" + dir.file("second.ps") + "'", said), 0) << said;
    const Rendering second = render_pages(dir.file("second.ps"), 72, dir.file("second"));
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.messages, "");
    ASSERT_EQ(second.pages.size(), 1u);
    EXPECT_TRUE(second.pages[0].grey == whole.pages[1].grey);
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
