// Printing frames on the LaserJet as the host does: 's' with the printing
// options, method laserjet; the PCL file is checked byte for byte where its
// bytes are fixed, and its raster is decoded back to see the drawing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "harness/temp_dir.h"
#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

const std::string kReset = "\x1b" "E";

// Options for a LaserJet print into file, without a print command.
std::string options(const std::string& orientation, const std::string& dpi, const std::string& file) {
    return orientation + " 0 0 " + dpi + " -1 0 0 0 laserjet '' '" + file + "' '' letter";
}

std::string header(int orientation) {
    return kReset + "\x1b&l2A\x1b&l" + std::to_string(orientation) + "o0E\x1b" "9";
}

// The dots of the logical page decoded from the raster blocks of a 75 dpi
// Letter page.
struct Page {
    std::set<std::pair<int, int>> dots;  // (x, y), y down
    std::string resolution;
    std::string rest;  // what follows the last raster block
};

Page decode(const std::string& pcl, bool landscape) {
    Page page;
    std::size_t pos = pcl.find("\x1b*t");
    if (pos == std::string::npos) return page;
    std::size_t end = pcl.find('R', pos);
    page.resolution = pcl.substr(pos + 3, end - pos - 3);
    pos = end + 1;
    int x, y, n, used;
    while (std::sscanf(pcl.c_str() + pos, "\x1b*p%dx%dY\x1b*r1A\x1b*b%dW%n", &x, &y, &n, &used) == 3) {
        pos += static_cast<std::size_t>(used);
        for (int i = 0; i < n; ++i) {
            const auto byte = static_cast<unsigned char>(pcl[pos + static_cast<std::size_t>(i)]);
            for (int bit = 0; bit < 8; ++bit) {
                if ((byte & (0x80 >> bit)) == 0) continue;
                if (landscape) {
                    // Rows run leftward from the right edge (3180), 4 units
                    // a row; a byte column is 32 units down from the top (50).
                    const int row = (3180 - x) / 4;
                    page.dots.insert({794 - row, (y - 50) / 32 * 8 + i * 8 + bit});
                } else {
                    page.dots.insert({x / 32 * 8 + i * 8 + bit, (y - 60) / 4});
                }
            }
        }
        pos += static_cast<std::size_t>(n);
        EXPECT_EQ(pcl.compare(pos, 4, "\x1b*rB"), 0);
        pos += 4;
    }
    page.rest = pcl.substr(pos);
    return page;
}

// The cross of a horizontal and a vertical line through the user point
// (0.5, 0.5).
void draw_cross(TgdProcess& tgd) {
    draw_xy(tgd, 'L', {0.1f, 0.9f}, {0.5f, 0.5f});
    draw_xy(tgd, 'L', {0.5f, 0.5f}, {0.1f, 0.9f});
}

// The cross is found in the decoded dots: one long row and one long column
// that meet at their middles.
void expect_cross(const Page& page) {
    std::map<int, int> per_row, per_column;
    for (auto [x, y] : page.dots) {
        ++per_row[y];
        ++per_column[x];
    }
    auto longest = [](const std::map<int, int>& m) {
        std::pair<int, int> best{0, 0};
        for (auto [k, n] : m)
            if (n > best.second) best = {k, n};
        return best;
    };
    auto [row, row_len] = longest(per_row);
    auto [column, column_len] = longest(per_column);
    ASSERT_GT(row_len, 100);
    ASSERT_GT(column_len, 100);
    int x0 = 1 << 20, x1 = -1, y0 = 1 << 20, y1 = -1;
    for (auto [x, y] : page.dots) {
        if (y == row) x0 = std::min(x0, x), x1 = std::max(x1, x);
        if (x == column) y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    EXPECT_NEAR(column, (x0 + x1) / 2.0, 1.5);
    EXPECT_NEAR(row, (y0 + y1) / 2.0, 1.5);
    // Nothing but the two lines.
    EXPECT_EQ(page.dots.size(), static_cast<std::size_t>(row_len + column_len - 1));
}

TEST(LaserJetPrint, BlankFrameIsTheHeaderAndAReset) {
    tgd::test::TempDir dir;
    const std::string file = dir.file("blank.lj");
    TgdProcess tgd;
    initialise_without_wait(tgd);
    send_letter(tgd, 'E');
    tgd.clear_stderr();
    print(tgd, options("0", "75", file));
    EXPECT_EQ(read_file(file), header(0) + kReset);
    EXPECT_EQ(tgd.stderr_text(), "Generated output file \"" + file + "\".\n");
}

TEST(LaserJetPrint, PortraitCrossDecodesBackFromTheRaster) {
    tgd::test::TempDir dir;
    const std::string file = dir.file("cross.lj");
    TgdProcess tgd;
    initialise_without_wait(tgd);
    send_letter(tgd, 'E');
    draw_cross(tgd);
    std::vector<float> before = tgd.initialise();
    print(tgd, options("0", "75", file));
    const std::string pcl = read_file(file);
    ASSERT_EQ(pcl.compare(0, header(0).size(), header(0)), 0);
    Page page = decode(pcl.substr(header(0).size()), false);
    EXPECT_EQ(page.resolution, "75");
    EXPECT_EQ(page.rest, kReset);
    expect_cross(page);
    // Every dot lies on the page.
    for (auto [x, y] : page.dots) {
        EXPECT_LT(x, 600);
        EXPECT_LE(y, 795);
    }
    // Printing leaves the parameters as they were.
    EXPECT_EQ(tgd.initialise(), before);
}

TEST(LaserJetPrint, LandscapeCrossDecodesBackFromTheTurnedRaster) {
    tgd::test::TempDir dir;
    const std::string file = dir.file("land.lj");
    TgdProcess tgd;
    initialise_without_wait(tgd);
    send_letter(tgd, 'E');
    draw_cross(tgd);
    print(tgd, options("1", "-1", file));
    const std::string pcl = read_file(file);
    ASSERT_EQ(pcl.compare(0, header(1).size(), header(1)), 0);
    Page page = decode(pcl.substr(header(1).size()), true);
    EXPECT_EQ(page.resolution, "75");
    EXPECT_EQ(page.rest, kReset);
    expect_cross(page);
}

TEST(LaserJetPrint, ResolutionSnapsAndNoResetHeader) {
    tgd::test::TempDir dir;
    const std::string file = dir.file("res.lj");
    Options opts;
    opts.env = {{"TX_LASERJET_NORESET", "yes"}};
    TgdProcess tgd(opts);
    initialise_without_wait(tgd);
    send_letter(tgd, 'E');
    draw_xy(tgd, 'L', {0.1f, 0.9f}, {0.5f, 0.5f});
    print(tgd, options("0", "200", file));
    const std::string pcl = read_file(file);
    const std::string start = "\x1b&l2A\x1b&l0o0E\x1b" "9\x1b*t150R";
    EXPECT_EQ(pcl.substr(0, start.size()), start);
}

TEST(LaserJetPrint, PrintCommandGetsTheFileNameAsOneWord) {
    tgd::test::TempDir dir;
    const std::string file = dir.file("it's a $(file).lj");
    Options opts;
    opts.env = {{"TX_LASERJET_PRINT_COMMAND", "sh -c 'cp \"$0\" \"$0.copy\"'"}};
    TgdProcess tgd(opts);
    initialise_without_wait(tgd);
    send_letter(tgd, 'E');
    tgd.clear_stderr();
    print(tgd, "0 0 1 75 -1 0 0 0 laserjet '' \"" + file + "\" '' letter");
    // The command runs in the background: wait for its copy to be whole.
    const std::string expected = header(0) + kReset;
    for (int i = 0; i < 200 && read_file(file + ".copy") != expected; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    EXPECT_EQ(read_file(file + ".copy"), expected);
    EXPECT_NE(tgd.stderr_text().find("Finished laserjet file, executing command \"sh -c"), std::string::npos);
}

TEST(LaserJetPrint, UnopenableFileIsReportedAndNothingIsPrinted) {
    TgdProcess tgd;
    initialise_without_wait(tgd);
    send_letter(tgd, 'E');
    tgd.clear_stderr();
    print(tgd, options("0", "75", "no-such-dir-for-tgd/x.lj"));
    EXPECT_EQ(tgd.stderr_text(),
              "Cannot open file 'no-such-dir-for-tgd/x.lj' in current directory. Will try to open a file in "
              "/tmp.\nCannot open file '/tmp/no-such-dir-for-tgd/x.lj'.\n");
}

}  // namespace
