// Byte-exact encoders of the PostScript document: string literals, moves,
// rectangles, attributes, image rows and the fixed sections.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "postscript/encode.h"
#include "postscript/device.h"

namespace tgd {
namespace {

std::string literal(std::string_view text) {
    std::string out;
    ps_put_string(out, text);
    return out;
}

std::string move(long long dx, long long dy) {
    std::string out;
    ps_rel_move_op(out, dx, dy);
    return out;
}

TEST(PsEncode, StringLiteralEscapesParenthesesBackslashAndControlBytes) {
    EXPECT_EQ(literal("a(b"), "(a\\(b)");
    EXPECT_EQ(literal("x)\\"), "(x\\)\\\\)");
    EXPECT_EQ(literal("a\tb"), "(a\\011b)");
    EXPECT_EQ(literal(std::string("\x7f\xc8\0z", 4)), "(\\177\\310\\000z)");
    EXPECT_EQ(literal(""), "()");
}

TEST(PsEncode, RelativeMoveOperatorCarriesTheSigns) {
    EXPECT_EQ(move(-10, 30), "10 30 k\n");
    EXPECT_EQ(move(0, -20), "20 z\n");
    EXPECT_EQ(move(0, 0), "0 y\n");
    EXPECT_EQ(move(0, 7), "7 y\n");
    EXPECT_EQ(move(5, 0), "5 x\n");
    EXPECT_EQ(move(-5, 0), "5 w\n");
    EXPECT_EQ(move(-3, -4), "3 4 l\n");
    EXPECT_EQ(move(3, 4), "3 4 h\n");
    EXPECT_EQ(move(3, -4), "3 4 j\n");
    // Deltas between clamped extremes do not overflow.
    EXPECT_EQ(move(-(2LL << 30), 0), "2147483648 w\n");
}

TEST(PsEncode, RectangleAndAttributeLines) {
    std::string out;
    ps_rect_op(out, 40, 30, 10, 20, "c");
    EXPECT_EQ(out, "40 30 10 20 c\n");
    out.clear();
    const float region[4] = {0, 1, 0, 1};
    ps_attr_op(out, region, 4, "Sg");
    const float type = 1, angle = 0.5f, big = 1.5e7f;
    ps_attr_op(out, &type, 1, "St");
    ps_attr_op(out, &angle, 1, "Sr");
    ps_attr_op(out, &big, 1, "Sx");
    EXPECT_EQ(out, "0 1 0 1 Sg\n1 St\n0.5 Sr\n1.5e+07 Sx\n");
}

TEST(PsEncode, ImageRowsPadOddOneDigitRows) {
    const int levels[] = {1, 15, 16 + 2, 255};
    std::string out;
    ps_image_row(out, levels, 3, false);
    EXPECT_EQ(out, "1f20\n");
    out.clear();
    ps_image_row(out, levels, 4, true);
    EXPECT_EQ(out, "010f12ff\n");
    out.clear();
    ps_image_row(out, levels, 2, false);
    EXPECT_EQ(out, "1f\n");
}

// Settings and document facts of a small fixed document.
struct Document : ::testing::Test {
    PostScriptSettings par = PostScriptSettings::defaults();
    DocumentInfo info;
    void SetUp() override {
        info.region = {3.06f, 244.53f, 608.94f, 547.47f};
        info.user = "Jo (admin)";
        info.creation_date = "Thu Jan  1 00:00:00 1970\n";
        info.point_size = 14;
        par.prolog = {"%%BeginResource: procset x", "/PVer 2 def", "%%EndResource",
                      std::string("%%BeginProcSet: y\0", 18), "%%EndProcSet"};
    }
    std::string header() {
        std::string out;
        ps_header(out, par, info);
        return out;
    }
    std::string prolog() {
        std::string out;
        ps_prolog(out, par);
        return out;
    }
    std::string setup() {
        std::string out;
        ps_setup(out, par, info);
        return out;
    }
};

TEST_F(Document, HeaderAtLevel3ForAnEncapsulatedFigure) {
    par.title = std::string("a(b\0", 4);
    EXPECT_EQ(header(),
              "%!PS-Adobe-3.0 EPSF-3.0\n"
              "%%Title: (a\\(b)\n"
              "%%Creator: TAVIX\n"
              "%%For: (Jo \\(admin\\))\n"
              "%%CreationDate: Thu Jan  1 00:00:00 1970\n"
              "%%BoundingBox: 3 244 609 548\n"
              "%%Pages: (atend)\n"
              "%%DocumentData: Clean7Bit\n"
              "%%DocumentNeededResources: (atend)\n"
              "%%EndComments\n");
    info.onefile = 1;
    EXPECT_EQ(header().substr(0, 15), "%!PS-Adobe-3.0\n");
}

TEST_F(Document, HeaderAtLevels21And20) {
    par.dsc_level = 250;
    std::string h = header();
    EXPECT_EQ(h.substr(0, h.find('\n')), "%!PS-Adobe-2.1 EPSF-2.0");
    EXPECT_NE(h.find("%%Title: (TAVIX Graphics)\n"), std::string::npos);
    EXPECT_NE(h.find("%%Pages: (atend)\n%%DocumentFonts: (atend)\n%%EndComments\n"), std::string::npos);
    par.dsc_level = 200;
    info.onefile = 1;
    EXPECT_EQ(header().substr(0, 15), "%!PS-Adobe-2.0\n");
}

TEST_F(Document, PrologDropsResourceCommentsBelowLevel3) {
    EXPECT_EQ(prolog(),
              "%%BeginProlog\n%%BeginResource: procset x\n/PVer 2 def\n%%EndResource\n"
              "%%BeginProcSet: y\n%%EndProcSet\n%%EndProlog\n%%BeginSetup\n");
    par.dsc_level = 250;
    EXPECT_EQ(prolog(), "%%BeginProlog\n/PVer 2 def\n%%BeginProcSet: y\n%%EndProcSet\n%%EndProlog\n%%BeginSetup\n");
    par.dsc_level = 200;
    EXPECT_EQ(prolog(), "/PVer 2 def\n");
    EXPECT_TRUE(prolog_defines_pver(par));
    par.prolog = {"% /PVer", " \t/PVerx"};
    EXPECT_TRUE(prolog_defines_pver(par));
    par.prolog = {"% /PVer"};
    EXPECT_FALSE(prolog_defines_pver(par));
}

TEST_F(Document, WithoutHostLinesTheBuiltInPrologIsFilteredAlike) {
    par.prolog.clear();
    EXPECT_TRUE(prolog_defines_pver(par));
    std::string all;
    for (std::string_view l : ps_builtin_prolog()) all.append(l).append("\n");
    EXPECT_EQ(prolog(), "%%BeginProlog\n" + all + "%%EndProlog\n%%BeginSetup\n");
    EXPECT_EQ(all.rfind("%%BeginResource: procset", 0), 0u);
    for (int level : {250, 200}) {
        par.dsc_level = level;
        const std::string p = prolog();
        EXPECT_EQ(p.find("%%BeginResource"), std::string::npos);
        EXPECT_EQ(p.find("%%EndResource"), std::string::npos);
        EXPECT_EQ(p.find("%%BeginProcSet") == std::string::npos, level < 210);
        EXPECT_NE(p.find("\n/PVer 1 def\n"), std::string::npos);
    }
}

TEST_F(Document, SetupWithDefaultsAndNoPVer) {
    std::string s = setup();
    const std::string start =
        "% fixed controlling parameters\n"
        "/Landscape false def\n"
        "/Region [3.06 244.53 608.94 547.47] def\n"
        "/bw statusdict begin /processcolors where\n"
        "{pop processcolors} {1} ifelse end 1 eq def\n"
        "/RastersPerInch 300 def\n"
        "/PointSize 14 def\n"
        "/Fonts [] def\n"
        "/GColors [] def\n"
        "/BackIdx true def\n"
        "/BackCol -1 def\n"
        "/IColors [] def\n"
        "/Colors GColors def\n"
        "/Bu {Pc} def\n"
        "\n"
        "% all initialization action here\n"
        "% Did not find /PVer setting...assuming old preamble.\n";
    EXPECT_EQ(s.substr(0, start.size()), start);
    const std::string end = "/c {a stroke} bd\nIv I\ncurrentdict /Ic known {Ic} if\ncurrentdict /If known {If} if\n"
                            "\n%%EndSetup\n\n";
    ASSERT_GE(s.size(), end.size());
    EXPECT_EQ(s.substr(s.size() - end.size()), end);
}

TEST_F(Document, SetupWithHostTablesAtLevel21) {
    par.dsc_level = 250;
    par.pver_found = 1;
    info.landscape = 1;
    par.bw_lines = {"true"};
    par.fonts = {"Times-Roman", "Courier"};
    par.font_needed = {1, 1};
    par.font_on_page = {1, 0};
    par.gcolors = {0, 1};
    par.ngcolors = 2;
    par.gcolor_width = 1;
    par.icolors = {0, 0.5f, 1, 1, 1, 0};
    par.nicolors = 2;
    par.icolor_width = 3;
    par.bcolor = {1, 0.5f, 0};
    par.nbcolor = 3;
    par.bu_lines = {"/Bu {Pc} def % host"};
    par.setup_lines = {"/extra 1 def"};
    EXPECT_EQ(setup(),
              "% fixed controlling parameters\n"
              "/Landscape true def\n"
              "/Region [3.06 244.53 608.94 547.47] def\n"
              "/bw true\n def\n"
              "/RastersPerInch 300 def\n"
              "/PointSize 14 def\n"
              "/Fonts [\t/Times-Roman\t/Courier] def\n"
              "/GColors [\t0\t1] def\n"
              "/BackIdx false def\n"
              "/BColor [ [ 1 0.5 0 ] ] def\n"
              "/BackCol 1 def\n"
              "/IColors [\t[ 0 0.5 1 ]\t[ 1 1 0 ]] def\n"
              "/Colors GColors def\n"
              "/Bu {Pc} def % host\n"
              "\n"
              "% all initialization action here\n"
              "Iv I\n"
              "currentdict /Ic known {Ic} if\n"
              "currentdict /If known {If} if\n"
              "/extra 1 def\n"
              "\n%%EndProlog\n\n");
    EXPECT_EQ(par.font_needed, (std::vector<char>{0, 0}));
    EXPECT_EQ(par.font_on_page, (std::vector<char>{0, 0}));
}

TEST_F(Document, TrailerWrapsTheFontListAt71Columns) {
    for (int i = 0; i < 20; ++i) par.fonts.push_back("Font" + std::string(6, static_cast<char>('A' + i)));
    par.font_needed.assign(20, 1);
    std::string t;
    ps_trailer(t, par, 2);
    // 31 columns, then 11 per name: four names on the first line, six on
    // each continuation line (which starts at column 8).
    EXPECT_EQ(t,
              "%%Trailer\n%%Pages: 2\n%%DocumentNeededResources: font FontAAAAAA FontBBBBBB FontCCCCCC "
              "FontDDDDDD\n"
              "%%+ font FontEEEEEE FontFFFFFF FontGGGGGG FontHHHHHH FontIIIIII FontJJJJJJ\n"
              "%%+ font FontKKKKKK FontLLLLLL FontMMMMMM FontNNNNNN FontOOOOOO FontPPPPPP\n"
              "%%+ font FontQQQQQQ FontRRRRRR FontSSSSSS FontTTTTTT\nW\n%%EOF\n");
    EXPECT_EQ(par.font_needed, std::vector<char>(20, 0));

    par.dsc_level = 200;
    par.font_needed = std::vector<char>(20, 0);
    par.font_needed[2] = 1;
    t.clear();
    ps_trailer(t, par, 0);
    EXPECT_EQ(t, "%%Trailer\n%%Pages: 0\n%%DocumentFonts: FontCCCCCC\nW\n");
}

TEST(PsLayout, FigureIsFittedAndCentred) {
    std::array<float, 4> region = {0, 0, 612, 792};
    float w = 10, h = 5, fw = 0, fh = 0;
    layout_figure(region, false, false, w, h, fw, fh);
    EXPECT_FLOAT_EQ(fw, 605.88f);
    EXPECT_FLOAT_EQ(fh, 302.94f);
    EXPECT_FLOAT_EQ(w, 605.88f / 72);
    EXPECT_EQ(static_cast<int>(region[0]), 3);
    EXPECT_EQ(static_cast<int>(region[1]), 244);
    EXPECT_EQ(static_cast<int>(region[2]) + 1, 609);
    EXPECT_EQ(static_cast<int>(region[3]) + 1, 548);
}

TEST(PsLayout, SmallFigureIsEnlargedOnlyWhenMaximized) {
    std::array<float, 4> region = {0, 0, 612, 792};
    float w = 2, h = 1, fw = 0, fh = 0;
    layout_figure(region, false, false, w, h, fw, fh);
    EXPECT_FLOAT_EQ(fw, 144);
    EXPECT_FLOAT_EQ(fh, 72);
    EXPECT_FLOAT_EQ(region[0], 234);
    EXPECT_FLOAT_EQ(region[3], 432);

    region = {0, 0, 612, 792};
    w = 2, h = 1;
    layout_figure(region, false, true, w, h, fw, fh);
    EXPECT_FLOAT_EQ(fw, 605.88f);
    EXPECT_FLOAT_EQ(fh, 302.94f);
}

TEST(PsLayout, LandscapeTurnsTheAreaAndTheBox) {
    std::array<float, 4> region = {0, 0, 612, 792};
    float w = 10, h = 5, fw = 0, fh = 0;
    layout_figure(region, true, false, w, h, fw, fh);
    // The figure's width runs along the page's height.
    EXPECT_FLOAT_EQ(fw, 720);
    EXPECT_FLOAT_EQ(fh, 360);
    EXPECT_FLOAT_EQ(region[2] - region[0], 360);
    EXPECT_FLOAT_EQ(region[3] - region[1], 720);
    EXPECT_FLOAT_EQ(region[0], 126);
    // No natural size: the whole available area.
    region = {0, 0, 100, 200};
    w = 0, h = -1;
    layout_figure(region, false, false, w, h, fw, fh);
    EXPECT_FLOAT_EQ(fw, 99);
    EXPECT_FLOAT_EQ(fh, 198);
}

}  // namespace
}  // namespace tgd
