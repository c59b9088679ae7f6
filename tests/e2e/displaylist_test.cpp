// Redrawing the frame from the display list ('d'), as the host sees it: the
// terminal gets the frame's escape sequences again and the parameter block
// comes back unchanged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/temp_dir.h"
#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

// A frame with every attribute the refresh must bring back: line type and
// colour changes, text, points and a filled polygon.
void draw_frame(TgdProcess& tgd) {
    draw_xy(tgd, 'L', {0.1f, 0.5f, 0.9f}, {0.1f, 0.8f, 0.2f});
    send_change(tgd, {8, 3, 10, 2});
    draw_xy(tgd, 'L', {0.2f, 0.7f}, {0.6f, 0.3f});
    draw_xy(tgd, 'P', {0.3f, 0.4f}, {0.3f, 0.5f});
    draw_xy(tgd, 'G', {0.1f, 0.3f, 0.2f}, {0.1f, 0.1f, 0.3f});
    tgd.send_byte('T');
    tgd.send_int(5);
    tgd.send_reals({0.5f, 0.5f, 0.5f});
    tgd.send("hello", 5);
    ASSERT_EQ(tgd.read_byte(), 'T');
    tgd.read_reals(2);
}

std::string refresh(TgdProcess& tgd) {
    tgd.clear_stderr();
    tgd.send_byte('d');
    EXPECT_EQ(tgd.read_byte(), 'd');
    return tgd.stderr_text();
}

TEST(Refresh, WithoutAListDrawsNothing) {
    TgdProcess tgd;
    tgd.initialise();  // 'I' records nothing
    EXPECT_EQ(refresh(tgd), "");
}

TEST(Refresh, RedrawsTheFrameAsItWasDrawnLive) {
    TgdProcess tgd;
    initialise_without_wait(tgd);
    send_change(tgd, {8, 2});
    tgd.clear_stderr();
    send_letter(tgd, 'E');
    std::string live = tgd.stderr_text();
    tgd.clear_stderr();
    draw_frame(tgd);
    live += tgd.stderr_text();
    ASSERT_GT(live.size(), 40u);

    std::vector<float> before = tgd.initialise();  // the block as it stands
    EXPECT_EQ(refresh(tgd), live);
    EXPECT_EQ(tgd.initialise(), before);
    // A second refresh draws the same again.
    EXPECT_EQ(refresh(tgd), live);
}

TEST(Refresh, FrameRecordedAfterInitialisationStartsFromItsParameters) {
    // No eject: the list starts with the parameters 'M' recorded.
    TgdProcess tgd;
    initialise_without_wait(tgd);
    tgd.clear_stderr();
    draw_frame(tgd);
    std::string live = tgd.stderr_text();
    std::vector<float> before = tgd.initialise();
    std::string redrawn = refresh(tgd);
    ASSERT_GE(redrawn.size(), live.size());
    EXPECT_EQ(redrawn.substr(redrawn.size() - live.size()), live);
    EXPECT_EQ(tgd.initialise(), before);
}

TEST(Refresh, WaitsForReturnAtTheNewFrameLikeTheLiveTerminal) {
    TgdProcess tgd;
    tgd.initialise();
    tgd.type("\n");
    send_letter(tgd, 'E');
    tgd.send_byte('d');
    EXPECT_FALSE(tgd.reply_ready(200));
    tgd.type("\n");
    EXPECT_EQ(tgd.read_byte(), 'd');
}

TEST(Refresh, DrawingInBatchUseIsShownByARefresh) {
    std::string live;
    {
        TgdProcess tgd;
        initialise_without_wait(tgd);
        tgd.clear_stderr();
        send_letter(tgd, 'E');
        draw_frame(tgd);
        live = tgd.stderr_text();
    }
    // 'I' asks for the frame prompt, but in batch use nobody answers it:
    // the refresh neither shows it nor waits for Return.
    Options options;
    options.batch = true;
    TgdProcess tgd(options);
    tgd.initialise();
    tgd.clear_stderr();
    send_letter(tgd, 'E');
    draw_frame(tgd);
    EXPECT_EQ(tgd.stderr_text(), "");
    EXPECT_EQ(refresh(tgd), live);
}

TEST(Refresh, BrushEntriesAreNotRedrawn) {
    TgdProcess tgd;
    initialise_without_wait(tgd);
    send_letter(tgd, 'E');
    tgd.send_byte('b');
    tgd.send_int(1);
    tgd.send_int(1);
    tgd.send_reals({1.0f});
    tgd.send_ints({0, 0, 0, 0, 0, 0, 0});  // p, q, lv, one empty label, lp, one empty label, flag
    ASSERT_EQ(tgd.read_byte(), 'b');
    ASSERT_EQ(tgd.read_int(), 0);
    EXPECT_EQ(refresh(tgd).find("brush"), std::string::npos);
}

// Brushing and spinning cannot be printed: the printer says so for each
// entry and the replay goes on with the rest of the frame.
TEST(Printing, BrushAndSpinEntriesAreRefusedAndTheRestIsPrinted) {
    tgd::test::TempDir dir;
    const std::string out = dir.file("frame.ps");
    TgdProcess tgd;
    initialise_without_wait(tgd);
    send_ps_option(tgd, 'r');  // the PostScript page region
    tgd.send_reals({0, 0, 612, 792});
    ASSERT_EQ(tgd.read_byte(), 'z');
    send_letter(tgd, 'E');
    tgd.send_byte('b');
    tgd.send_int(1);
    tgd.send_int(1);
    tgd.send_reals({1.0f});
    tgd.send_ints({0, 0, 0, 0, 0, 0, 0});
    ASSERT_EQ(tgd.read_byte(), 'b');
    ASSERT_EQ(tgd.read_int(), 0);
    draw_xy(tgd, 'L', {0.1f, 0.9f}, {0.5f, 0.5f});
    tgd.send_byte('r');
    tgd.send_int(1);
    tgd.send_int(1);
    tgd.send_reals({1.0f});
    tgd.send_ints({0, 0});  // lv, one empty label
    tgd.send_byte('x');
    tgd.send_ints({0});
    ASSERT_EQ(tgd.read_byte(), 'r');
    draw_xy(tgd, 'L', {0.1f, 0.9f}, {0.2f, 0.2f});
    tgd.clear_stderr();

    print(tgd, "-1 -1 0 -1 -1 0 0 0 postscript '' " + out + " '' ''");
    ASSERT_TRUE(tgd.wait_for_stderr("Generated postscript file \"" + out + "\"."));
    EXPECT_EQ(tgd.stderr_text(),
              "Starting to make postscript file.\n"
              "Cannot draw brushing display in PostScript.\n"
              "cannot draw spinning display in PostScript yet\n"
              "Generated postscript file \"" + out + "\".\n");
    const std::string doc = read_file(out);
    const std::size_t page = doc.find("%%Page: 1 1\n");
    ASSERT_NE(page, std::string::npos);
    EXPECT_EQ(count_of(doc.substr(page), " m\n"), 2u);  // both polylines
    EXPECT_NE(doc.find("%%EOF\n", page), std::string::npos);
}

}  // namespace
