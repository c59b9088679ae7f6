// Deferred graphics as the host drives them: 'C' opens the file, the drawing
// operations, 'D' and 'E' are recorded, 'X' closes it.  tgd runs in batch
// use, so its standard error carries only the messages.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "harness/temp_dir.h"
#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

TgdProcess batch_session() {
    Options options;
    options.batch = true;
    return TgdProcess(options);
}

char start_deferred(TgdProcess& tgd, int mode, const std::string& name) {
    tgd.send_byte('C');
    tgd.send_int(mode);
    tgd.send_text(name);
    return tgd.read_byte();
}

TEST(Deferred, HostSessionRecordsEveryKindOfOperation) {
    tgd::test::TempDir dir;
    const std::string name = dir.file("session.dgf");
    TgdProcess tgd = batch_session();
    tgd.initialise();
    tgd.clear_stderr();  // the terminal's start-up sequence
    EXPECT_EQ(start_deferred(tgd, 2, name), 'C');

    draw_xy(tgd, 'L', {0.5f, 1.0f, -2.0f}, {0.25f, 0.0f, 1e6f});
    draw_xy(tgd, 'P', {3.0f}, {4.0f});
    draw_xy(tgd, 'G', {0.0f, 1.0f, 0.5f}, {0.0f, 0.0f, 1.0f});
    tgd.send_byte('S');
    tgd.send_int(2);
    tgd.send_reals({1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(tgd.read_byte(), 'S');
    tgd.read_reals(2);
    tgd.send_byte('T');
    tgd.send_int(7);
    tgd.send_reals({0.5f, 0.75f, 1.0f});
    tgd.send("hi you ", 7);
    ASSERT_EQ(tgd.read_byte(), 'T');
    tgd.read_reals(2);
    tgd.send_byte('D');
    tgd.send_int(6);
    tgd.send_reals({8, 2, 200, 1, 10, 3});
    ASSERT_EQ(tgd.read_byte(), 'D');
    // Images are not recorded.
    tgd.send_byte('i');
    tgd.send_int(2);
    tgd.send_reals({0, 1});
    tgd.send_int(2);
    tgd.send_reals({0, 1});
    tgd.send_int(4);
    tgd.send_reals({1, 2, 3, 4});
    tgd.send_reals({0, 10, -1});
    ASSERT_EQ(tgd.read_byte(), 'i');
    send_letter(tgd, 'E');
    send_letter(tgd, 'E');  // an empty frame: the parameters in force
    send_letter(tgd, 'X');
    expect_in_step(tgd);
    // The image is drawn on the terminal even in batch use.
    const std::string err = tgd.stderr_text();
    EXPECT_EQ(err.rfind("Deferred Graphics on\n", 0), 0u);
    EXPECT_TRUE(err.ends_with("Deferred Graphics turned off\n"));
    EXPECT_EQ(tgd.finish(), 0);

    const std::string text = read_file(name);
    const std::string drawing =
        "lines 3\n 0.5 0.25\n 1  0\n -2 1e6\n"
        "points 1\n 3 4\n"
        "polygon 3\n  0  0\n 1  0\n 0.5 1\n"
        "segs 2\n 1 3 5 7\n 2 4 6 8\n"
        "text 0.5 0.75 1 7\nhi you\n"
        "diff 4\n 8 2\n 10 3\n"
        "eject\n";
    ASSERT_EQ(text.substr(0, drawing.size()), drawing);
    std::vector<std::string> par = lines_of(text.substr(drawing.size()));
    ASSERT_EQ(par.size(), 77u);
    EXPECT_EQ(par[0], "par 150");
    // The recorded set in order, with the start values and the changes.
    EXPECT_EQ(par[1], " 8 2");
    EXPECT_EQ(par[3], " 10 3");
    EXPECT_EQ(par[5], " 14  0");
    EXPECT_EQ(par[6], " 15 79");
    EXPECT_EQ(par[7], " 18 1");
    EXPECT_EQ(par[8].substr(0, 4), " 40 ");
    EXPECT_EQ(par[17].substr(0, 4), " 50 ");
    EXPECT_EQ(par[33], " 66 -0.02");
    EXPECT_EQ(par[34], " 79 1");
    EXPECT_EQ(par[39].substr(0, 4), " 90 ");
    EXPECT_EQ(par[47], " 101 -1");
    EXPECT_EQ(par[48], " 102 115");
    EXPECT_EQ(par[76], " 130 0.001");
}

TEST(Deferred, AskingModeFollowsTheAnswersOnStandardInput) {
    tgd::test::TempDir dir;
    const std::string name = dir.file("asked.dgf");
    TgdProcess tgd = batch_session();
    tgd.initialise();
    tgd.clear_stderr();  // the terminal's start-up sequence
    EXPECT_EQ(start_deferred(tgd, 1, name), 'C');
    tgd.type("y\nN\n");
    draw_xy(tgd, 'L', {1}, {2});
    send_letter(tgd, 'E');  // kept
    draw_xy(tgd, 'L', {3}, {4});
    send_letter(tgd, 'E');  // thrown away: the parameters replace it
    draw_xy(tgd, 'L', {5}, {6});
    tgd.close_input();
    send_letter(tgd, 'E');  // end of input: kept
    draw_xy(tgd, 'P', {7, 9}, {8, 10});
    send_letter(tgd, 'X');  // the last frame is settled the same way
    expect_in_step(tgd);
    EXPECT_EQ(tgd.stderr_text(), "Deferred Graphics on - ask about each frame\nDeferred Graphics turned off\n");
    EXPECT_EQ(tgd.finish(), 0);

    std::vector<std::string> lines = lines_of(read_file(name));
    ASSERT_EQ(lines.size(), 3u + 77u + 3u + 3u);
    EXPECT_EQ(lines[0], "lines 1");
    EXPECT_EQ(lines[1], " 1 2");
    EXPECT_EQ(lines[2], "eject");
    EXPECT_EQ(lines[3], "par 150");
    EXPECT_EQ(lines[80], "lines 1");
    EXPECT_EQ(lines[81], " 5 6");
    EXPECT_EQ(lines[82], "eject");
    EXPECT_EQ(lines[83], "points 2");
    EXPECT_EQ(lines[85], " 9 10");
}

TEST(Deferred, DroppingTheLastFrameMarksTheLogicalAndThePhysicalEnd) {
    tgd::test::TempDir dir;
    const std::string name = dir.file("dropped.dgf");
    TgdProcess tgd = batch_session();
    tgd.initialise();
    tgd.clear_stderr();  // the terminal's start-up sequence
    EXPECT_EQ(start_deferred(tgd, 1, name), 'C');
    tgd.type("yes\nno\n");
    draw_xy(tgd, 'L', {1}, {2});
    send_letter(tgd, 'E');
    draw_xy(tgd, 'P', {3, 5}, {4, 6});
    send_letter(tgd, 'X');
    EXPECT_EQ(tgd.finish(), 0);
    EXPECT_EQ(read_file(name), "lines 1\n 1 2\neject\nend\nts 2\n 3 4\n 5 6\nend\n");
}

TEST(Deferred, StartingAgainClosesTheFirstFileAndAppendsToAnExistingOne) {
    tgd::test::TempDir dir;
    const std::string first = dir.file("first.dgf"), second = dir.file("second.dgf");
    std::ofstream(second) << "kept\n";
    TgdProcess tgd = batch_session();
    tgd.initialise();
    tgd.clear_stderr();  // the terminal's start-up sequence
    EXPECT_EQ(start_deferred(tgd, 2, first), 'C');
    draw_xy(tgd, 'L', {1}, {2});
    EXPECT_EQ(start_deferred(tgd, 2, second), 'C');
    draw_xy(tgd, 'L', {3}, {4});
    send_letter(tgd, 'X');
    draw_xy(tgd, 'L', {5}, {6});  // closed: nothing more is recorded
    send_letter(tgd, 'X');
    expect_in_step(tgd);
    EXPECT_EQ(tgd.stderr_text(),
              "Deferred Graphics on\nDeferred Graphics turned off\n"
              "Deferred Graphics on\nDeferred Graphics turned off\n");
    EXPECT_EQ(tgd.finish(), 0);
    EXPECT_EQ(read_file(first), "lines 1\n 1 2\n");
    EXPECT_EQ(read_file(second), "kept\nlines 1\n 3 4\n");
}

TEST(Deferred, AnInterruptAtTheQuestionAbandonsTheFrameEndAndKeepsTheFile) {
    tgd::test::TempDir dir;
    const std::string name = dir.file("interrupted.dgf");
    TgdProcess tgd = batch_session();
    tgd.initialise();
    EXPECT_EQ(start_deferred(tgd, 1, name), 'C');
    draw_xy(tgd, 'L', {1}, {2});
    tgd.send_byte('E');
    EXPECT_FALSE(tgd.reply_ready(300));  // waiting for the answer
    kill(tgd.pid(), SIGINT);
    EXPECT_EQ(tgd.read_byte(), 'B');
    // The file is still open: the frame is settled again at the next eject.
    draw_xy(tgd, 'L', {3}, {4});
    tgd.type("y\n");
    tgd.close_input();
    send_letter(tgd, 'E');
    send_letter(tgd, 'X');
    expect_in_step(tgd);
    EXPECT_EQ(tgd.finish(), 0);
    EXPECT_EQ(read_file(name), "lines 1\n 1 2\nlines 1\n 3 4\neject\n");
}

TEST(Deferred, AFileThatCannotBeOpenedAbandonsTheOperation) {
    tgd::test::TempDir dir;
    TgdProcess tgd = batch_session();
    tgd.initialise();
    tgd.clear_stderr();  // the terminal's start-up sequence
    EXPECT_EQ(start_deferred(tgd, 2, dir.file("no/such/dir.dgf")), 'A');
    EXPECT_EQ(tgd.stderr_text(), "Deferred Graphics on\nError: Cannot open deferred graphics file\n");
    draw_xy(tgd, 'L', {1}, {2});
    send_letter(tgd, 'E');
    send_letter(tgd, 'X');
    expect_in_step(tgd);
    EXPECT_EQ(tgd.stderr_text(), "Deferred Graphics on\nError: Cannot open deferred graphics file\n");
    EXPECT_EQ(tgd.finish(), 0);
}

}  // namespace
