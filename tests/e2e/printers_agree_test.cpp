// The two printers agree: a frame printed as PostScript (rendered by
// Ghostscript at 300 dots per inch) and for the LaserJet at 300 dots per
// inch (its PCL read back onto the sheet) lands on the same place of the
// sheet, and its lines, symbols, polygons, texts and image cells lie within
// a couple of dots of each other.  Where the printers differ by design
// (the LaserJet's stroke font and its larger default symbols, its grey
// shades for an image the host coloured, its figure shape taken from device
// units) the test compares what should still agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "demo_session.h"
#include "harness/temp_dir.h"
#include "harness/ghostscript.h"
#include "harness/host_ops.h"
#include "harness/pcl_reader.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

// A sheet of grey dots at 300 per inch, row 0 at the top.
using Sheet = GreyPicture;

// Dots from x0 to x1 and y0 to y1, inclusive.
struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    bool empty() const { return x1 < x0; }
    bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
    void add(int x, int y) { x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y); }
    double cx() const { return (x0 + x1) / 2.0; }
    double cy() const { return (y0 + y1) / 2.0; }
};

Box ink_box(const Sheet& s, const Box& window) {
    Box b;
    for (int y = std::max(window.y0, 0); y <= std::min(window.y1, s.height - 1); ++y)
        for (int x = std::max(window.x0, 0); x <= std::min(window.x1, s.width - 1); ++x)
            if (s.ink(x, y)) b.add(x, y);
    return b;
}

// For each ink dot of a outside the excluded boxes, the distance to the
// nearest ink dot of b (a chamfer distance transform of b).
struct Spread {
    long dots = 0, near = 0;
    double worst = 0;
    double share() const { return dots == 0 ? 0.0 : static_cast<double>(near) / static_cast<double>(dots); }
};

Spread spread(const Sheet& a, const Sheet& b, const std::vector<Box>& excluded, const Box& window, int reach) {
    const int w = b.width, h = b.height;
    std::vector<float> d(static_cast<std::size_t>(w) * h, 1e6f);
    auto at = [&](int x, int y) -> float& { return d[static_cast<std::size_t>(y) * w + x]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (b.ink(x, y)) at(x, y) = 0;
    const float diag = std::sqrt(2.0f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float& v = at(x, y);
            if (x > 0) v = std::min(v, at(x - 1, y) + 1);
            if (y > 0) v = std::min(v, at(x, y - 1) + 1);
            if (x > 0 && y > 0) v = std::min(v, at(x - 1, y - 1) + diag);
            if (x + 1 < w && y > 0) v = std::min(v, at(x + 1, y - 1) + diag);
        }
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            float& v = at(x, y);
            if (x + 1 < w) v = std::min(v, at(x + 1, y) + 1);
            if (y + 1 < h) v = std::min(v, at(x, y + 1) + 1);
            if (x + 1 < w && y + 1 < h) v = std::min(v, at(x + 1, y + 1) + diag);
            if (x > 0 && y + 1 < h) v = std::min(v, at(x - 1, y + 1) + diag);
        }
    Spread s;
    for (int y = std::max(window.y0, 0); y <= std::min(window.y1, a.height - 1); ++y)
        for (int x = std::max(window.x0, 0); x <= std::min(window.x1, a.width - 1); ++x) {
            if (!a.ink(x, y)) continue;
            if (std::any_of(excluded.begin(), excluded.end(), [&](const Box& e) { return e.contains(x, y); }))
                continue;
            ++s.dots;
            const float v = at(x, y);
            s.near += v <= static_cast<float>(reach) + 0.01f;
            s.worst = std::max(s.worst, static_cast<double>(v));
        }
    return s;
}

const Box kWholeSheet{0, 0, 1 << 20, 1 << 20};

// Ink dots of each sheet near ink of the other (within reach dots), both
// ways.
void expect_close(const Sheet& ps, const Sheet& lj, const std::vector<Box>& excluded, const Box& window,
                  const char* what, int reach = 2) {
    const Spread from_ps = spread(ps, lj, excluded, window, reach);
    const Spread from_lj = spread(lj, ps, excluded, window, reach);
    EXPECT_GT(from_ps.dots, 0) << what;
    EXPECT_GT(from_lj.dots, 0) << what;
    EXPECT_GE(from_ps.share(), 0.99) << what << ": PostScript ink near LaserJet ink";
    EXPECT_GE(from_lj.share(), 0.99) << what << ": LaserJet ink near PostScript ink";
    std::printf("%s: %ld PostScript dots, %.4f within %d dots of LaserJet ink (worst %.1f); "
                "%ld LaserJet dots, %.4f within %d (worst %.1f)\n",
                what, from_ps.dots, from_ps.share(), reach, from_ps.worst, from_lj.dots, from_lj.share(), reach,
                from_lj.worst);
}

// The sheets of one frame printed both ways, and where its user square
// (0, 0)-(1, 1), the frame drawn around it, lies on them.
struct Prints {
    Sheet ps, lj;
    bool landscape = false;
    Box frame;
    // A user point on the sheet.
    void place(float u, float v, double& x, double& y) const {
        if (landscape) {
            x = static_cast<float>(frame.x1) - v * static_cast<float>(frame.x1 - frame.x0);
            y = static_cast<float>(frame.y1) - u * static_cast<float>(frame.y1 - frame.y0);
        } else {
            x = static_cast<float>(frame.x0) + u * static_cast<float>(frame.x1 - frame.x0);
            y = static_cast<float>(frame.y1) - v * static_cast<float>(frame.y1 - frame.y0);
        }
    }
    // The dots around the user rectangle (u0, v0)-(u1, v1), widened by
    // margin dots.
    Box around(float u0, float v0, float u1, float v1, int margin = 0) const {
        double ax, ay, bx, by;
        place(u0, v0, ax, ay);
        place(u1, v1, bx, by);
        return {static_cast<int>(std::min(ax, bx)) - margin, static_cast<int>(std::min(ay, by)) - margin,
                static_cast<int>(std::max(ax, bx)) + margin, static_cast<int>(std::max(ay, by)) + margin};
    }
};

// Prints the current frame both ways at 300 dots per inch.  The
// PostScript region is the LaserJet's printable area, widened so that the
// 99 % of it that PostScript fills is that area, and the text size comes
// from the character cell as on the LaserJet.
void print_both(TgdProcess& tgd, tgd::test::TempDir& dir, bool landscape, Prints& out) {
    // The printable area on the upright sheet, PCL units (1/300 inch).
    const double x0 = landscape ? 50 : 75, x1 = landscape ? 2447 : 2472, top = 60, bottom = 3237;
    const double cx = (x0 + x1) / 2 * 0.24, cy = 792 - (top + bottom) / 2 * 0.24;
    const double hw = (x1 - x0) / 2 * 0.24 / 0.99, hh = (bottom - top) / 2 * 0.24 / 0.99;
    send_ps_option(tgd, 'r');
    tgd.send_reals({static_cast<float>(cx - hw), static_cast<float>(cy - hh), static_cast<float>(cx + hw),
                    static_cast<float>(cy + hh)});
    ASSERT_EQ(tgd.read_byte(), 'z');
    send_ps_option(tgd, 'P');
    tgd.send_real(0.0f);
    ASSERT_EQ(tgd.read_byte(), 'z');
    const std::string orientation = landscape ? "1" : "0";
    const std::string ps = dir.file("frame.ps"), lj = dir.file("frame.lj");
    print(tgd, orientation + " 0 0 300 0 0 0 0 postscript '' '" + ps + "' '' letter");
    print(tgd, orientation + " 0 0 300 0 0 0 0 laserjet '' '" + lj + "' '' letter");

    Rendering rendering = render_pages(ps, 300, dir.file("frame"));
    EXPECT_EQ(rendering.status, 0);
    EXPECT_EQ(rendering.messages, "");
    ASSERT_EQ(rendering.pages.size(), 1u);
    out.ps = std::move(rendering.pages[0]);
    std::vector<std::string> pcl_errors;
    PclSheet sheet = read_pcl(read_file(lj), pcl_errors);
    EXPECT_TRUE(pcl_errors.empty()) << pcl_errors.front();
    EXPECT_EQ(sheet.dpi, 300);
    out.lj = {sheet.width, sheet.height, std::move(sheet.grey)};
    ASSERT_EQ(out.ps.width, out.lj.width);
    ASSERT_EQ(out.ps.height, out.lj.height);
    out.landscape = landscape;

    // Same page geometry: everything lies inside the frame, so the ink of
    // each sheet is bounded by it.  The frames share their centre and the
    // side that fills the page; the LaserJet takes the other side from the
    // ratio of device units, as if the terminal's rasters were square,
    // PostScript from the ratio of inches (1.5 % apart).
    const Box a = ink_box(out.ps, kWholeSheet), b = ink_box(out.lj, kWholeSheet);
    ASSERT_FALSE(a.empty());
    std::printf("frame on the sheet: PostScript %d %d %d %d, LaserJet %d %d %d %d\n", a.x0, a.y0, a.x1, a.y1, b.x0,
                b.y0, b.x1, b.y1);
    EXPECT_NEAR(a.cx(), b.cx(), 2);
    EXPECT_NEAR(a.cy(), b.cy(), 2);
    const double raster_aspect = (8.0 / 511) / (6.0 / 389);  // the terminal's raster width / height
    const double ps_w = a.x1 - a.x0, ps_h = a.y1 - a.y0, lj_w = b.x1 - b.x0, lj_h = b.y1 - b.y0;
    // In figure orientation: the governing side agrees, the other one
    // follows the ratio of device units on the LaserJet.
    const double ps_fw = landscape ? ps_h : ps_w, ps_fh = landscape ? ps_w : ps_h;
    const double lj_fw = landscape ? lj_h : lj_w, lj_fh = landscape ? lj_w : lj_h;
    EXPECT_LE(std::min(std::fabs(ps_fw - lj_fw), std::fabs(ps_fh - lj_fh)), 2);
    EXPECT_NEAR((lj_fw / lj_fh) / (ps_fw / ps_fh) * raster_aspect, 1.0, 0.002);
    // The PostScript sheet stretched onto the LaserJet's frame, so that
    // the rest compares the drawing within the frame.
    Sheet fitted{out.lj.width, out.lj.height, std::vector<std::uint8_t>(out.lj.grey.size(), 255)};
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x) {
            const int sx = a.x0 + static_cast<int>(std::lround((x - b.x0) * ps_w / lj_w));
            const int sy = a.y0 + static_cast<int>(std::lround((y - b.y0) * ps_h / lj_h));
            fitted.grey[static_cast<std::size_t>(y) * fitted.width + x] = out.ps.at(sx, sy);
        }
    out.ps = std::move(fitted);
    out.frame = b;
    // TGD_AGREE_DUMP=prefix keeps the document and both sheets to look at.
    if (const char* dump = std::getenv("TGD_AGREE_DUMP")) {
        std::ofstream(std::string(dump) + ".ps") << read_file(ps);
        for (const auto& [name, picture] : {std::pair{"ps", &out.ps}, std::pair{"lj", &out.lj}}) {
            std::ofstream f(std::string(dump) + "-" + name + ".pgm", std::ios::binary);
            f << "P5\n" << picture->width << " " << picture->height << "\n255\n";
            f.write(reinterpret_cast<const char*>(picture->grey.data()),
                    static_cast<std::streamsize>(picture->grey.size()));
        }
    }
}

void send_text(TgdProcess& tgd, float x, float y, float adj, const std::string& s) {
    tgd.send_byte('T');
    tgd.send_int(static_cast<int>(s.size()));
    tgd.send_reals({x, y, adj});
    tgd.send(s.data(), s.size());
    ASSERT_EQ(tgd.read_byte(), 'T');
    tgd.read_reals(2);
}

void send_image(TgdProcess& tgd, const std::vector<float>& x, const std::vector<float>& y,
                const std::vector<float>& z, float lo, float hi, float na) {
    tgd.send_byte('i');
    for (const auto* v : {&x, &y, &z}) {
        tgd.send_int(static_cast<int>(v->size()));
        tgd.send_reals(*v);
    }
    tgd.send_reals({lo, hi, na});
    ASSERT_EQ(tgd.read_byte(), 'i');
}

// A text's ink on both sheets: the end the justification puts at the
// reference point agrees, and so do its height and its place across the
// direction; its length differs with the fonts.
void expect_text(const Prints& p, float adj, bool upward, const Box& window, const char* what) {
    const Box a = ink_box(p.ps, window), b = ink_box(p.lj, window);
    ASSERT_FALSE(a.empty()) << what;
    ASSERT_FALSE(b.empty()) << what;
    // Along the text (a, b: start, end); across it (c, d).
    auto along = [&](const Box& k, double& s, double& e, double& c0, double& c1) {
        // Level text runs up a landscape sheet, upward text to its left.
        if (upward == p.landscape) {
            s = p.landscape ? k.x1 : k.x0, e = p.landscape ? k.x0 : k.x1, c0 = k.y0, c1 = k.y1;
        } else {
            s = k.y1, e = k.y0, c0 = k.x0, c1 = k.x1;
        }
    };
    double s1, e1, c01, c11, s2, e2, c02, c12;
    along(a, s1, e1, c01, c11);
    along(b, s2, e2, c02, c12);
    const double anchor1 = s1 + adj * (e1 - s1), anchor2 = s2 + adj * (e2 - s2);
    const double length1 = std::fabs(e1 - s1), length2 = std::fabs(e2 - s2);
    const double height2 = c12 - c02;
    EXPECT_NEAR(anchor1, anchor2, 0.1 * height2 + 2) << what;
    EXPECT_NEAR((c01 + c11) / 2, (c02 + c12) / 2, 0.15 * height2 + 2) << what;
    EXPECT_NEAR(c11 - c01, height2, 0.2 * height2 + 2) << what;
    EXPECT_NEAR(length1 / length2, 1.0, 0.3) << what;
    std::printf("%s: anchor %.1f / %.1f, centre across %.1f / %.1f, height %.0f / %.0f, length %.0f / %.0f "
                "(PostScript / LaserJet)\n",
                what, anchor1, anchor2, (c01 + c11) / 2, (c02 + c12) / 2, c11 - c01, height2, length1, length2);
}

TEST(PrintersAgree, DemonstrationSession) {
    tgd::test::TempDir dir;
    Options options;
    options.cwd = dir.path();
    TgdProcess tgd(options);
    Prints prints;
    bool printed = false;
    // The session prints nothing itself; once its frame is drawn (before
    // the refresh that waits for Return), the frame is printed both ways.
    tgdhost::DemoFiles files;
    files.type = [&](const std::string& text) {
        if (!printed) print_both(tgd, dir, false, prints);
        printed = true;
        tgd.type(text);
    };
    std::FILE* transcript = std::tmpfile();
    ASSERT_NE(transcript, nullptr);
    tgdhost::run_demo_session(tgd, files, transcript);
    std::fclose(transcript);
    EXPECT_EQ(tgd.finish(), 0);
    ASSERT_TRUE(printed);
    ASSERT_FALSE(prints.frame.empty());

    // The image: its cells carry the LaserJet's grey levels on both.
    const std::vector<float> ix = {0.6f, 0.7f, 0.8f, 0.9f}, iy = {0.1f, 0.2f, 0.3f};
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i) {
            const Box cell = prints.around(ix[i], iy[j], ix[i + 1], iy[j + 1], -4);
            std::vector<int> a, b;
            for (int y = cell.y0; y <= cell.y1; ++y)
                for (int x = cell.x0; x <= cell.x1; ++x) a.push_back(prints.ps.at(x, y)), b.push_back(prints.lj.at(x, y));
            std::nth_element(a.begin(), a.begin() + a.size() / 2, a.end());
            std::nth_element(b.begin(), b.begin() + b.size() / 2, b.end());
            EXPECT_NEAR(a[a.size() / 2], b[b.size() / 2], 2) << "image cell " << i << ", " << j;
        }

    // The symbols: both draw the triangles around the same points, the
    // LaserJet's twice as large (its default symbol size).  The third
    // lies at the image's edge, where PostScript paints the image over it.
    std::vector<Box> excluded;
    const std::vector<std::pair<float, float>> marks = {{0.2f, 0.2f}, {0.4f, 0.3f}, {0.6f, 0.2f}};
    for (auto [u, v] : marks) {
        const Box window = prints.around(u - 0.03f, v - 0.03f, u + 0.03f, v + 0.03f);
        excluded.push_back(window);
        if (u == 0.6f) continue;
        const Box a = ink_box(prints.ps, window), b = ink_box(prints.lj, window);
        ASSERT_FALSE(a.empty() || b.empty());
        EXPECT_NEAR(a.cx(), b.cx(), 2) << u << ", " << v;
        EXPECT_NEAR(a.cy(), b.cy(), 2) << u << ", " << v;
        EXPECT_NEAR(static_cast<double>(b.x1 - b.x0) / (a.x1 - a.x0), 2.0, 0.25) << u << ", " << v;
    }
    const Box label = prints.around(0.3f, 0.91f, 0.7f, 0.99f);
    expect_text(prints, 0.5f, false, label, "demo label");
    excluded.push_back(label);
    // PostScript paints the image over the lines drawn before it; the
    // LaserJet's raster lies over its image cells.
    excluded.push_back(prints.around(0.6f, 0.1f, 0.9f, 0.3f, 2));
    expect_close(prints.ps, prints.lj, excluded, kWholeSheet, "demonstration frame");
}

// A frame of every kind of drawing, printed in landscape: line types 1 to
// 8, polygons in colours 0 to 10 (the LaserJet's patterns), every symbol,
// point characters, text at 0 and 90 degrees with each justification, and
// an image coloured by the host's image colour table.
TEST(PrintersAgree, EveryKindOfDrawing) {
    tgd::test::TempDir dir;
    TgdProcess tgd;
    initialise_without_wait(tgd);
    send_letter(tgd, 'E');
    draw_xy(tgd, 'L', {0, 1, 1, 0, 0}, {0, 0, 1, 1, 0});
    for (int t = 1; t <= 8; ++t) {
        send_change(tgd, {8, static_cast<float>(t)});
        const float v = 0.97f - 0.035f * static_cast<float>(t);
        draw_xy(tgd, 'L', {0.05f, 0.45f}, {v, v});
    }
    // Each colour's pattern in a square (a rectangle operator) and a
    // triangle (a path), and colour 0 erasing the middle of colour 1.
    send_change(tgd, {8, 1});
    for (int c = 1; c <= 10; ++c) {
        send_change(tgd, {10, static_cast<float>(c)});
        const float u = 0.05f + 0.04f * static_cast<float>(c - 1);
        draw_xy(tgd, 'G', {u, u + 0.03f, u + 0.03f, u}, {0.5f, 0.5f, 0.6f, 0.6f});
        draw_xy(tgd, 'G', {u, u + 0.03f, u + 0.015f}, {0.44f, 0.44f, 0.49f});
    }
    send_change(tgd, {10, 0});
    draw_xy(tgd, 'G', {0.057f, 0.073f, 0.073f, 0.057f}, {0.52f, 0.52f, 0.58f, 0.58f});
    send_change(tgd, {10, 1});
    // Symbols 0 to 18 of one size on both printers, then point characters.
    send_change(tgd, {128, 0.12f});
    for (int m = 0; m <= 18; ++m) {
        send_change(tgd, {15, static_cast<float>(m)});
        draw_xy(tgd, 'P', {0.04f + 0.045f * static_cast<float>(m % 10)}, {m < 10 ? 0.38f : 0.32f});
    }
    const std::string chars = ".+*o";
    for (std::size_t i = 0; i < chars.size(); ++i) {
        send_change(tgd, {15, static_cast<float>(chars[i])});
        draw_xy(tgd, 'P', {0.05f + 0.1f * static_cast<float>(i), 0.07f + 0.1f * static_cast<float>(i)},
                {0.25f, 0.25f});
    }
    struct Text {
        float u, v, adj;
        bool upward;
        const char* s;
    };
    const std::vector<Text> texts = {{0.55f, 0.93f, 0.0f, false, "Left"},
                                     {0.75f, 0.85f, 0.5f, false, "Centred"},
                                     {0.95f, 0.77f, 1.0f, false, "Right end"},
                                     {0.6f, 0.4f, 0.0f, true, "Up 0"},
                                     {0.75f, 0.4f, 0.5f, true, "Up half"},
                                     {0.9f, 0.4f, 1.0f, true, "Up end"}};
    for (const Text& t : texts) {
        send_change(tgd, {14, t.upward ? 90.0f : 0.0f});
        send_text(tgd, t.u, t.v, t.adj, t.s);
    }
    // The image: four colours from the host; its cells alternate between
    // two of them, one cell is missing.
    send_ps_option(tgd, 'c');
    tgd.send_byte('i');
    tgd.send_int(4);
    tgd.send_int(3);
    tgd.send_reals({1, 0, 0, 0, 0.5f, 0, 0.8f, 0, 0, 0.5f, 0.5f, 1});
    ASSERT_EQ(tgd.read_byte(), 'z');
    send_image(tgd, {0.05f, 0.15f, 0.25f, 0.35f, 0.45f}, {0.05f, 0.12f, 0.19f},
               {0.5f, 1, 0.5f, 1, 1, 0.5f, -1, 0.5f}, 0, 1, -1);

    Prints prints;
    print_both(tgd, dir, true, prints);
    EXPECT_EQ(tgd.finish(), 0);
    ASSERT_FALSE(prints.frame.empty());

    // Line types: the share of the line's length that is inked follows
    // the LaserJet's rhythm on both.
    const double ink_share[9] = {0, 1, 1 / 4.0, 5 / 11.0, 8 / 11.0, 7 / 11.0, 9 / 11.0, 3 / 9.0, 4 / 8.0};
    for (int t = 1; t <= 8; ++t) {
        const float v = 0.97f - 0.035f * static_cast<float>(t);
        const Box band = prints.around(0.1f, v - 0.01f, 0.4f, v + 0.01f);
        for (const Sheet* s : {&prints.ps, &prints.lj}) {
            int inked = 0, length = 0;
            for (int y = band.y0; y <= band.y1; ++y, ++length) {
                bool any = false;
                for (int x = band.x0; x <= band.x1; ++x) any = any || s->ink(x, y);
                inked += any;
            }
            EXPECT_NEAR(static_cast<double>(inked) / length, ink_share[t], 0.03)
                << "line type " << t << (s == &prints.ps ? " in PostScript" : " on the LaserJet");
        }
    }

    std::vector<Box> excluded;
    for (const Text& t : texts) {
        const float along = 0.3f;
        const Box window = t.upward ? prints.around(t.u - 0.03f, t.v - t.adj * along, t.u + 0.03f,
                                                    t.v + (1 - t.adj) * along)
                                    : prints.around(t.u - t.adj * along, t.v - 0.03f, t.u + (1 - t.adj) * along,
                                                    t.v + 0.03f);
        expect_text(prints, t.adj, t.upward, window, t.s);
        excluded.push_back(window);
    }
    // Point characters other than "." are drawn in the printers' own
    // fonts: centred alike, within a sixth of the character height.
    for (std::size_t i = 1; i < chars.size(); ++i)
        for (float u : {0.05f + 0.1f * static_cast<float>(i), 0.07f + 0.1f * static_cast<float>(i)}) {
            const Box window = prints.around(u - 0.009f, 0.22f, u + 0.009f, 0.28f);
            const Box a = ink_box(prints.ps, window), b = ink_box(prints.lj, window);
            ASSERT_FALSE(a.empty() || b.empty()) << chars[i];
            EXPECT_NEAR(a.cx(), b.cx(), 6) << chars[i];
            EXPECT_NEAR(a.cy(), b.cy(), 6) << chars[i];
            std::printf("point character %c: centre %.1f %.1f / %.1f %.1f (PostScript / LaserJet)\n", chars[i],
                        a.cx(), a.cy(), b.cx(), b.cy());
            excluded.push_back(window);
        }

    // The image's cells: where the colour changes, on both (PostScript
    // shows the host's colours, the LaserJet its greys), within three dots:
    // the LaserJet puts cell edges on whole device units.
    const Box image = prints.around(0.05f, 0.05f, 0.45f, 0.19f, 3);
    auto edges = [&](const Sheet& s) {
        Sheet e{s.width, s.height, std::vector<std::uint8_t>(s.grey.size(), 255)};
        for (int y = image.y0; y < image.y1; ++y)
            for (int x = image.x0; x < image.x1; ++x)
                if (std::abs(s.at(x, y) - s.at(x + 1, y)) > 12 || std::abs(s.at(x, y) - s.at(x, y + 1)) > 12)
                    e.grey[static_cast<std::size_t>(y) * e.width + x] = 0;
        return e;
    };
    expect_close(edges(prints.ps), edges(prints.lj), {}, image, "image cell edges", 3);
    excluded.push_back(image);

    // The polygons' patterns line up with the figure on one, with the
    // page on the other: their dots are within a pattern cell's diagonal.
    const Box polygons = prints.around(0.04f, 0.43f, 0.46f, 0.61f, 1);
    expect_close(prints.ps, prints.lj, {}, polygons, "polygon patterns", 3);
    excluded.push_back(polygons);

    expect_close(prints.ps, prints.lj, excluded, kWholeSheet, "every kind of drawing");
}

}  // namespace
