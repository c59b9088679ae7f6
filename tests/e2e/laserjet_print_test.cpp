// Printing frames on the LaserJet as the host does: 's' with the printing
// options, method laserjet; the PCL file is checked byte for byte where its
// bytes are fixed, and its raster is read back onto the sheet to see the drawing.
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
#include "harness/pcl_reader.h"
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

// The cross of a horizontal and a vertical line through the user point
// (0.5, 0.5).
void draw_cross(TgdProcess& tgd) {
    draw_xy(tgd, 'L', {0.1f, 0.9f}, {0.5f, 0.5f});
    draw_xy(tgd, 'L', {0.5f, 0.5f}, {0.1f, 0.9f});
}

// The cross is found on the sheet: one long row and one long column of
// dots that meet at their middles, and nothing else.
void expect_cross(const PclSheet& sheet) {
    std::map<int, int> per_row, per_column;
    std::vector<std::pair<int, int>> dots;
    for (int y = 0; y < sheet.height; ++y)
        for (int x = 0; x < sheet.width; ++x)
            if (sheet.ink(x, y)) {
                ++per_row[y];
                ++per_column[x];
                dots.emplace_back(x, y);
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
    for (auto [x, y] : dots) {
        if (y == row) x0 = std::min(x0, x), x1 = std::max(x1, x);
        if (x == column) y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    EXPECT_NEAR(column, (x0 + x1) / 2.0, 1.5);
    EXPECT_NEAR(row, (y0 + y1) / 2.0, 1.5);
    EXPECT_EQ(dots.size(), static_cast<std::size_t>(row_len + column_len - 1));
    // Every dot of the raster lies on the sheet.
    EXPECT_EQ(sheet.raster_dots, static_cast<int>(dots.size()));
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
    std::vector<std::string> errors;
    PclSheet sheet = read_pcl(pcl, errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(sheet.dpi, 75);
    EXPECT_EQ(sheet.rest, kReset);
    expect_cross(sheet);
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
    std::vector<std::string> errors;
    PclSheet sheet = read_pcl(pcl, errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(sheet.orientation, 1);
    EXPECT_EQ(sheet.dpi, 75);
    EXPECT_EQ(sheet.rest, kReset);
    expect_cross(sheet);
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
