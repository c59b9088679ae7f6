// The operations that need a user at the terminal or abilities it lacks:
// locator, mode, hook, colour map, brushing, spinning and the menu.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

const char kLocatorRequest[] = "\a\x1b*s4^\x11";

// The transform of the locator example: x_offset 100, x_scale 10,
// y_offset 0, y_scale 8.
void set_transform(TgdProcess& tgd) { send_change(tgd, {36, 100, 37, 10, 38, 0, 39, 8}); }

void send_labels(TgdProcess& tgd, const std::vector<std::string>& labels) {
    for (const std::string& label : labels) tgd.send_text(label);
}

// 'b' with 2 points of 1 variable; the label totals are given separately
// so that a test can send lengths that do not add up to them.
void send_brush(TgdProcess& tgd, int lv, const std::vector<std::string>& variables, int lp,
                const std::vector<std::string>& points) {
    tgd.send_byte('b');
    tgd.send_int(2);
    tgd.send_int(1);
    tgd.send_reals({1.5f, 2.5f});
    tgd.send_int(0);  // p
    tgd.send_int(1);  // q
    tgd.send_int(lv);
    send_labels(tgd, variables);
    tgd.send_int(lp);
    send_labels(tgd, points);
    tgd.send_ints({1, 0});  // flags
}

void send_spin(TgdProcess& tgd) {
    tgd.send_byte('r');
    tgd.send_int(2);
    tgd.send_int(1);
    tgd.send_reals({1.5f, 2.5f});
    tgd.send_int(2);
    send_labels(tgd, {std::string("v\0", 2)});
    tgd.send_byte('x');
    tgd.send_ints({3, 4});
}

// Menu items, each sent with its length; total is sent as given.
void send_menu(TgdProcess& tgd, const std::vector<std::string>& items, int total) {
    tgd.send_byte('z');
    tgd.send_byte('m');
    tgd.send_int(static_cast<int>(items.size()));
    tgd.send_int(total);
    for (const std::string& item : items) tgd.send_int(static_cast<int>(item.size()));
    for (const std::string& item : items) tgd.send(item.data(), item.size());
}

const std::vector<std::string> kMenu{std::string("Pick one\0", 9), std::string("alpha\0", 6), std::string("beta\0", 5)};

int menu_selection(TgdProcess& tgd) {
    EXPECT_EQ(tgd.read_byte(), 'z');
    EXPECT_EQ(tgd.read_int(), 4);
    return tgd.read_int();
}

// A session after 'I', with the terminal stream so far dropped.
class Session : public ::testing::Test {
protected:
    void SetUp() override {
        tgd.initialise();
        tgd.clear_stderr();
    }
    TgdProcess tgd;
};
using Locator = Session;
using Interactive = Session;
using Menu = Session;

TEST_F(Locator, PointIsAnsweredInUserCoordinates) {
    set_transform(tgd);
    tgd.type("1500,800,1\n");
    tgd.send_byte('q');
    tgd.send_byte('w');
    ASSERT_EQ(tgd.read_byte(), 'q');
    EXPECT_EQ(tgd.read_real(), 140.0f);
    EXPECT_EQ(tgd.read_real(), 100.0f);
    EXPECT_EQ(tgd.read_int(), 1);
    EXPECT_NE(tgd.stderr_text().find(kLocatorRequest), std::string::npos);
    expect_in_step(tgd);
}

TEST_F(Locator, SecondKindWarnsOnceAndReadsEveryTime) {
    set_transform(tgd);
    tgd.type("200,16,1\n300,24,1\n");
    for (float x : {10.0f, 20.0f}) {
        tgd.send_byte('q');
        tgd.send_byte('i');
        ASSERT_EQ(tgd.read_byte(), 'q');
        EXPECT_EQ(tgd.read_real(), x);
        EXPECT_EQ(tgd.read_real(), x / 10 + 1);
        EXPECT_EQ(tgd.read_int(), 1);
    }
    EXPECT_EQ(count_of(tgd.stderr_text(), "Graphical input must be interrupt driven on this device.\n"), 1u);
    EXPECT_EQ(count_of(tgd.stderr_text(), kLocatorRequest), 2u);
}

TEST_F(Locator, BadKindAndMissingKindAbort) {
    tgd.send_byte('q');
    tgd.send_byte('x');
    EXPECT_EQ(tgd.read_byte(), 'A');
    EXPECT_EQ(tgd.stderr_text(), "Pipe error.\nExpecting i or w after q, got x=170.\n");
    expect_in_step(tgd);
    // End of input where the kind byte should be.
    tgd.send_byte('q');
    tgd.close_commands();
    EXPECT_EQ(tgd.read_byte(), 'A');
    EXPECT_EQ(tgd.finish(), 0);
}

TEST_F(Locator, SeveralPointsStopAtTheFirstEndKey) {
    set_transform(tgd);
    tgd.type("110,16,1\n120,32,1\n0,0,13\n");
    tgd.send_byte('Q');
    tgd.send_int(5);
    ASSERT_EQ(tgd.read_byte(), 'Q');
    ASSERT_EQ(tgd.read_int(), 2);
    EXPECT_EQ(tgd.read_reals(2), (std::vector<float>{1.0f, 2.0f}));
    EXPECT_EQ(tgd.read_reals(2), (std::vector<float>{2.0f, 4.0f}));
    expect_in_step(tgd);
}

TEST_F(Interactive, ModeHookAndColourMap) {
    tgd.send_byte('m');
    tgd.send_byte('x');
    EXPECT_EQ(tgd.read_byte(), 'A');
    EXPECT_EQ(tgd.stderr_text(), "Pipe error.\nBad operation to device driver: m x.\n");
    tgd.clear_stderr();

    tgd.send_byte('h');
    tgd.send_int(3);
    tgd.send_int(2);
    tgd.send_ints({7, 8});
    tgd.send_int(0);
    EXPECT_EQ(tgd.read_byte(), 'h');
    EXPECT_EQ(tgd.read_int(), 2);
    EXPECT_EQ(tgd.read_ints(2), (std::vector<std::int32_t>{7, 8}));
    EXPECT_EQ(tgd.read_int(), 0);
    EXPECT_EQ(tgd.stderr_text(), "hook not implemented for this device (type=3)\n");
    tgd.clear_stderr();

    tgd.send_byte('c');
    tgd.send_int(0);
    EXPECT_EQ(tgd.read_byte(), 'c');
    EXPECT_EQ(tgd.stderr_text(), "");
    tgd.send_byte('c');
    tgd.send_int(2);
    tgd.send_ints({1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(tgd.read_byte(), 'c');
    EXPECT_EQ(tgd.stderr_text(), "This device driver cannot change its color map.\n");
    tgd.clear_stderr();
    tgd.send_byte('c');
    tgd.send_int(-1);
    EXPECT_EQ(tgd.read_byte(), 'A');
    EXPECT_EQ(tgd.stderr_text(), "Out of memory. Restart TAVIX.\n");
    expect_in_step(tgd);
}

TEST_F(Interactive, BrushingAndSpinningAreRefused) {
    send_brush(tgd, 2, {std::string("v\0", 2)}, 4, {std::string("a\0", 2), std::string("b\0", 2)});
    EXPECT_EQ(tgd.read_byte(), 'b');
    EXPECT_EQ(tgd.read_int(), 0);
    EXPECT_EQ(tgd.stderr_text(), "You cannot brush with this device driver.\n");
    tgd.clear_stderr();
    send_spin(tgd);
    EXPECT_EQ(tgd.read_byte(), 'r');
    EXPECT_EQ(tgd.stderr_text(), "This device driver does not support spinning.\n");
    expect_in_step(tgd);
}

TEST_F(Interactive, LabelsLongerThanTheirBlockKeepTheProtocolInStep) {
    // Label lengths far beyond the totals, and a negative length.
    send_brush(tgd, 1, {std::string(300, 'v')}, 2, {std::string(5000, 'p'), std::string("q")});
    EXPECT_EQ(tgd.read_byte(), 'b');
    EXPECT_EQ(tgd.read_int(), 0);
    expect_in_step(tgd);
    tgd.send_byte('r');
    tgd.send_int(1);
    tgd.send_int(2);
    tgd.send_reals({1, 2});
    tgd.send_int(0);
    tgd.send_int(-4);  // a negative length carries no bytes
    send_labels(tgd, {"abcdef"});
    tgd.send_byte('o');
    tgd.send_ints({9});
    EXPECT_EQ(tgd.read_byte(), 'r');
    expect_in_step(tgd);
}

TEST_F(Interactive, NegativeBrushCountsAbort) {
    tgd.send_byte('b');
    tgd.send_int(-2);
    tgd.send_int(1);
    EXPECT_EQ(tgd.read_byte(), 'A');
    EXPECT_EQ(tgd.stderr_text(), "Out of memory. Restart TAVIX.\n");
    expect_in_step(tgd);
}

TEST(BatchUse, RefusesTheTerminalOperationsOnly) {
    Options batch;
    batch.batch = true;
    TgdProcess tgd(batch);
    tgd.initialise();
    tgd.clear_stderr();
    tgd.send_byte('Q');
    tgd.send_int(3);
    EXPECT_EQ(tgd.read_byte(), 'A');
    tgd.send_byte('q');
    tgd.send_byte('w');
    EXPECT_EQ(tgd.read_byte(), 'A');
    send_brush(tgd, 2, {std::string("v\0", 2)}, 0, {"", ""});
    EXPECT_EQ(tgd.read_byte(), 'A');
    send_spin(tgd);
    EXPECT_EQ(tgd.read_byte(), 'A');
    EXPECT_EQ(tgd.stderr_text(),
              "Error:  No graphic input in background\n"
              "Error:  No graphic input in background\n"
              "Error:  No brushing in background\n"
              "Error:  no spinning in background\n");
    // Neither the mode nor the menu needs the live terminal.
    tgd.send_byte('m');
    tgd.send_byte('g');
    EXPECT_EQ(tgd.read_byte(), 'm');
    EXPECT_EQ(tgd.read_byte(), 'g');
    tgd.type("alpha\n");
    send_menu(tgd, kMenu, 20);
    EXPECT_EQ(menu_selection(tgd), 1);
    expect_in_step(tgd);
}

TEST_F(Menu, DialogueByNameAndNumber) {
    tgd.type("beta\n");
    send_menu(tgd, kMenu, 20);
    EXPECT_EQ(menu_selection(tgd), 2);
    EXPECT_EQ(tgd.stderr_text(), "Pick one\n1: alpha\n2: beta\nSelection: ");
    tgd.clear_stderr();

    // Out of range, an unknown name, then a number with blanks and trailing text.
    tgd.type("7\ngamma\n  +1 or so\n");
    send_menu(tgd, kMenu, 20);
    EXPECT_EQ(menu_selection(tgd), 1);
    EXPECT_EQ(tgd.stderr_text(),
              "Pick one\n1: alpha\n2: beta\nSelection: "
              "Enter an item from the menu, or 0 to exit\nSelection: "
              "Enter an item from the menu, or 0 to exit\nSelection: ");

    tgd.type("0\n");
    send_menu(tgd, kMenu, 20);
    EXPECT_EQ(menu_selection(tgd), 0);

    tgd.type("-1\n99999999999999999999\n");
    tgd.close_input();
    send_menu(tgd, kMenu, 20);
    EXPECT_EQ(menu_selection(tgd), 0);  // end of input
    send_menu(tgd, kMenu, 20);
    EXPECT_EQ(menu_selection(tgd), 0);
    expect_in_step(tgd);
}

TEST_F(Menu, ItemsWithoutTerminatorsOrWithAWrongTotal) {
    // No terminating zeros, and a total smaller than the lengths' sum: each
    // item is its own bytes, and every byte sent is read.
    tgd.type("beta\n");
    send_menu(tgd, {"Title", "alpha", "beta"}, 3);
    EXPECT_EQ(menu_selection(tgd), 2);
    EXPECT_EQ(tgd.stderr_text(), "Title\n1: alpha\n2: beta\nSelection: ");
    expect_in_step(tgd);
    // A zero inside an item ends it.
    tgd.type("al\n");
    send_menu(tgd, {"T", std::string("al\0pha", 6)}, 100);
    EXPECT_EQ(menu_selection(tgd), 1);
    expect_in_step(tgd);
}

}  // namespace
