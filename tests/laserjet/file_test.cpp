// The LaserJet output file: frames appended to the one file, numbered file
// names, and the fallback to /tmp when the current directory fails.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/process_state.h"
#include "harness/host_ops.h"
#include "harness/temp_dir.h"
#include "harness/fd_capture.h"
#include "laserjet/device.h"
#include "settings/printer.h"

namespace {

using tgdtest::read_file;

using namespace tgd;

const std::string kReset = "\x1b" "E";
const std::string kHeader = kReset + "\x1b&l2A\x1b&l0o0E\x1b" "9";

// Runs the test in a directory of its own and goes back afterwards.
class InDirectory {
public:
    explicit InDirectory(const std::filesystem::path& dir) : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~InDirectory() { std::filesystem::current_path(saved_); }

private:
    std::filesystem::path saved_;
};

// Portrait 75 dpi Letter, no print command, everything else unset.
void parameters() {
    reset_process_state();
    CurrentPrinterParameters.horizontal = 0;
    CurrentPrinterParameters.rasters = 75;
    CurrentPrinterParameters.print = 0;
    bgrp_(bg::device_xmax) = 100;
    bgrp_(bg::device_ymax) = 100;
    bgrp_(bg::device_raster_width) = 0.01f;
    bgrp_(bg::device_raster_height) = 0.01f;
    bgrp_(bg::clip_xmax) = 100;
    bgrp_(bg::clip_ymax) = 100;
    bgrp_(bg::x_scale) = 1;
    bgrp_(bg::y_scale) = 1;
    bgrp_(bg::line_type) = 1;
    bgrp_(bg::color) = 1;
}

void frame(bool draw) {
    ASSERT_EQ(hplj_page.hplj_init(bgrp_.v), 1);
    if (draw) {
        const float x[] = {10, 90}, y[] = {50, 50};
        hplj_page.hplj_zlinsz(x, y);
    }
    hplj_page.hplj_zwrapz();
}

TEST(LaserJetFile, OneFileModeAppendsEveryFrameWithItsOwnHeader) {
    tgd::test::TempDir dir;
    InDirectory in(dir.path());
    parameters();
    CurrentPrinterParameters.onefile = 1;
    tgd::test::FdCapture err;
    frame(true);
    frame(false);
    ASSERT_TRUE(hplj_page.file().close());
    const std::string pcl = read_file(dir.path() / "LaserJet.out");
    ASSERT_EQ(pcl.compare(0, kHeader.size(), kHeader), 0);
    // The second frame follows the first frame's closing reset.
    const std::size_t second = pcl.find(kReset + kHeader);
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(pcl.substr(0, second).find("\x1b*t75R\x1b*p"), std::string::npos);
    EXPECT_EQ(pcl.substr(pcl.size() - 2), kReset);
    // No print step and no message in this mode.
    EXPECT_EQ(err.take(), "");
}

TEST(LaserJetFile, FramesGetNumberedNames) {
    tgd::test::TempDir dir;
    parameters();
    CurrentPrinterParameters.tempfile = dir.file("page.####.lj");
    tgd::test::FdCapture err;
    frame(false);
    frame(false);
    EXPECT_EQ(err.take(), "Starting to make laserjet file.\nGenerated output file \"" + dir.file("page.0001.lj") +
                              "\".\nStarting to make laserjet file.\nGenerated output file \"" +
                              dir.file("page.0002.lj") + "\".\n");
    EXPECT_EQ(read_file(dir.file("page.0002.lj")), kHeader + kReset);
}

TEST(LaserJetFile, FileThatCannotBeOpenedHereGoesToTmp) {
    tgd::test::TempDir here;
    tgd::test::TempDir in_tmp;  // a directory of the same name exists only under /tmp
    if (in_tmp.path().parent_path() != std::filesystem::path("/tmp")) GTEST_SKIP() << "temporary files not in /tmp";
    InDirectory in(here.path());
    parameters();
    const std::string name = in_tmp.path().filename().string() + "/x.lj";
    CurrentPrinterParameters.file = name;
    tgd::test::FdCapture err;
    frame(false);
    EXPECT_EQ(err.take(), "Cannot open file '" + name +
                              "' in current directory. Will try to open a file in /tmp.\nGenerated output file \"/tmp/" +
                              name + "\".\n");
    EXPECT_EQ(read_file(in_tmp.file("x.lj")), kHeader + kReset);
    // The next frame is appended to the driver's own file.
    frame(false);
    EXPECT_EQ(read_file(in_tmp.file("x.lj")), kHeader + kReset + kHeader + kReset);
}

// Under /tmp a name planted by someone else (a link, another user's file)
// is never written: the frame goes to a new unique file.
TEST(LaserJetFile, TmpFallbackWritesNoPlantedName) {
    tgd::test::TempDir here;
    tgd::test::TempDir in_tmp;
    if (in_tmp.path().parent_path() != std::filesystem::path("/tmp")) GTEST_SKIP() << "temporary files not in /tmp";
    InDirectory in(here.path());
    parameters();
    std::ofstream(in_tmp.file("target")) << "victim";
    std::filesystem::create_symlink(in_tmp.file("target"), in_tmp.file("link.lj"));
    std::ofstream(in_tmp.file("theirs.lj")) << "theirs";
    const bool other_owner = ::chown(in_tmp.file("theirs.lj").c_str(), 65534, 65534) == 0;
    for (const char* planted : {"link.lj", "theirs.lj"}) {
        if (std::string(planted) == "theirs.lj" && !other_owner) continue;
        SCOPED_TRACE(planted);
        CurrentPrinterParameters.file = in_tmp.path().filename().string() + "/" + planted;
        tgd::test::FdCapture err;
        frame(false);
        const std::string text = err.take();
        const std::string generated = "Generated output file \"";
        const std::size_t at = text.find(generated);
        ASSERT_NE(at, std::string::npos) << text;
        const std::string made = text.substr(at + generated.size(), text.find('"', at + generated.size()) - at -
                                                                         generated.size());
        EXPECT_EQ(made.rfind("/tmp/lj.out.", 0), 0u) << made;
        EXPECT_EQ(read_file(made), kHeader + kReset);
        std::filesystem::remove(made);
    }
    EXPECT_EQ(read_file(in_tmp.file("target")), "victim");
    EXPECT_EQ(read_file(in_tmp.file("theirs.lj")), "theirs");
}

}  // namespace
