// Hostile input from the host, end to end: for every class of input in the
// table of docs/robustness.md, tgd answers as documented, keeps serving the
// next operation and loses no file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <fstream>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "harness/temp_dir.h"
#include "fuzz/session_bytes.h"
#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;
namespace fs = std::filesystem;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
const std::vector<float> kHostileReals = {kNaN, kInf, -kInf, 1e38f, -1e38f, -0.0f};

void send(TgdProcess& tgd, const SessionBytes& bytes) { tgd.send(bytes.bytes().data(), bytes.bytes().size()); }

// Reads a reply of the letter and n further bytes.
void expect_reply(TgdProcess& tgd, char letter, std::size_t n) {
    ASSERT_EQ(tgd.read_byte(), letter);
    std::string rest(n, '\0');
    if (n > 0) {
        ASSERT_TRUE(tgd.read_exact(rest.data(), n));
    }
}

// 'W' answered at once: the process is in step and serving.
void expect_serving(TgdProcess& tgd) {
    tgd.send_byte('W');
    EXPECT_EQ(tgd.read_byte(), 'W');
}

Options in_directory(const tgd::test::TempDir& dir) {
    Options options;
    options.cwd = dir.path().string();
    return options;
}

// tgd working in a directory of its own, initialised without the frame
// prompt, its standard input closed (the locator and the questions see
// end of input).
struct Session {
    tgd::test::TempDir dir;
    TgdProcess tgd{in_directory(dir)};
    Session() {
        initialise_without_wait(tgd);
        tgd.close_input();
    }
};

void start_deferred(TgdProcess& tgd, int mode, const std::string& name) {
    tgd.send_byte('C');
    tgd.send_int(mode);
    tgd.send_text(name);
    ASSERT_EQ(tgd.read_byte(), 'C');
}

// The PostScript page region; without it a PostScript print is refused.
void set_region(TgdProcess& tgd) {
    send_ps_option(tgd, 'r');
    tgd.send_reals({0, 0, 612, 792});
    ASSERT_EQ(tgd.read_byte(), 'z');
}

// 13 printing options: method, file and template; no print command.
std::string print_options(const std::string& method, const std::string& file, const std::string& templ = "''") {
    return "-1 -1 0 75 -1 0 0 0 " + method + " '' " + file + " " + templ + " ''";
}

bool complete_postscript(const std::string& doc) {
    return doc.rfind("%!PS-Adobe-", 0) == 0 && doc.ends_with("%%EOF\n");
}
bool complete_laserjet(const std::string& pcl) { return pcl.rfind("\x1b" "E", 0) == 0 && pcl.ends_with("\x1b" "E"); }

// Prints the frame both ways into dir and checks that both files are whole.
void print_both(TgdProcess& tgd, const tgd::test::TempDir& dir, const std::string& stem) {
    set_region(tgd);
    print(tgd, print_options("postscript", dir.file(stem + ".ps")));
    print(tgd, print_options("laserjet", dir.file(stem + ".lj")));
    EXPECT_TRUE(complete_postscript(read_file(dir.file(stem + ".ps")))) << stem;
    EXPECT_TRUE(complete_laserjet(read_file(dir.file(stem + ".lj")))) << stem;
}

// One counted argument of one operation.  The operation is sent up to the
// count, then the count, then what tgd reads after it even when it refuses
// the count, and, when it takes the count, the rest of the operation.
struct CountedArgument {
    const char* name;
    SessionBytes before;
    SessionBytes after;
    SessionBytes rest;
    bool (*takes)(int count);
    char letter;            // first byte of the normal reply
    std::size_t reply_size;  // bytes after it
};

bool from_zero(int count) { return count >= 0; }
bool from_minus_one(int count) { return count >= -1; }  // a text of n + 1 bytes
bool any(int) { return true; }                           // a negative count counts as zero

std::vector<CountedArgument> counted_arguments() {
    using S = SessionBytes;
    const S nothing;
    std::vector<CountedArgument> rows = {
        {"L n", S().op('L'), nothing, nothing, from_zero, 'L', 8},
        {"P n", S().op('P'), nothing, nothing, from_zero, 'P', 8},
        {"G n", S().op('G'), nothing, nothing, from_zero, 'G', 8},
        {"S n", S().op('S'), nothing, nothing, from_zero, 'S', 8},
        {"T n", S().op('T'), S().reals({0.5f, 0.5f, 0.0f}), nothing, from_zero, 'T', 8},
        {"D n", S().op('D'), nothing, nothing, from_zero, 'D', 0},
        {"C name length", S().op('C').i32(2), nothing, nothing, from_minus_one, 'C', 0},
        {"s options length", S().op('s'), nothing, nothing, from_minus_one, 's', 0},
        {"Q nmax", S().op('Q'), nothing, nothing, from_zero, 'Q', 4},
        {"c n", S().op('c'), nothing, nothing, from_zero, 'c', 0},
        {"h na", S().op('h').i32(3), nothing, S().i32(0), any, 'h', 8},
        {"h nb", S().op('h').i32(3).i32(0), nothing, nothing, any, 'h', 8},
        {"i nx", S().op('i'), nothing, S().i32(0).i32(0).reals({0, 1, 0}), from_zero, 'i', 0},
        {"i ny", S().op('i').i32(1).real(0.5f), nothing, S().i32(0).reals({0, 1, 0}), from_zero, 'i', 0},
        {"i nz", S().op('i').i32(0).i32(0), nothing, S().reals({0, 1, 0}), from_zero, 'i', 0},
        {"b nr", S().op('b'), S().i32(1), S().ints({0, 0, 0}).text("").ints({0, 0}), from_zero, 'b', 4},
        {"b nc", S().op('b').i32(1), nothing, S().ints({0, 0, 0, 0}).text("").i32(0), from_zero, 'b', 4},
        {"b lv", S().op('b').i32(1).i32(1).real(1).ints({0, 0}), nothing, S().text("").i32(0).text("").i32(0),
         from_zero, 'b', 4},
        {"b lp", S().op('b').i32(1).i32(1).real(1).ints({0, 0, 0}).text(""), nothing, S().text("").i32(0),
         from_zero, 'b', 4},
        {"b label length", S().op('b').i32(1).i32(1).real(1).ints({0, 0, 2}), nothing,
         S().i32(0).text("").i32(0), any, 'b', 4},
        {"r nr", S().op('r'), S().i32(1), S().i32(0).text("").op('x'), from_zero, 'r', 0},
        {"r nc", S().op('r').i32(1), nothing, S().i32(0).op('x').i32(0), from_zero, 'r', 0},
        {"r lv", S().op('r').i32(1).i32(1).real(1), nothing, S().text("").op('x').i32(0), from_zero, 'r', 0},
        {"z l n", S().raw("zl"), nothing, nothing, any, 'z', 1},
        {"z p A n", S().raw("zpAp"), nothing, nothing, from_zero, 'z', 0},
        {"z p A length", S().raw("zpAp").i32(1), nothing, nothing, from_zero, 'z', 0},
        {"z p f n", S().raw("zpf"), nothing, nothing, from_zero, 'z', 0},
        {"z p c n", S().raw("zpcb"), S().i32(1), nothing, from_zero, 'z', 0},
        {"z p c m", S().raw("zpcb").i32(1), nothing, nothing, from_zero, 'z', 0},
        {"z p C length", S().raw("zpC"), nothing, nothing, from_zero, 'z', 0},
        {"z p o length", S().raw("zpo"), nothing, nothing, from_zero, 'z', 0},
        {"z p t length", S().raw("zpt"), nothing, nothing, from_zero, 'z', 0},
        // The menu reads its answer from standard input, closed here.
        {"z m n", S().raw("zm"), S().i32(0), nothing, from_zero, 'z', 8},
        {"z m item length", S().raw("zm").ints({1, 0}), nothing, nothing, any, 'z', 8},
    };
    return rows;
}

TEST(HostileInput, NegativeAndZeroCountsOfEveryCountedArgument) {
    Session session;
    auto& [dir, tgd] = session;
    for (const CountedArgument& row : counted_arguments()) {
        for (int count : {-1, INT_MIN, 0}) {
            SCOPED_TRACE(std::string(row.name) + " = " + std::to_string(count));
            send(tgd, row.before);
            tgd.send_int(count);
            send(tgd, row.after);
            if (row.takes(count)) {
                send(tgd, row.rest);
                expect_reply(tgd, row.letter, row.reply_size);
            } else {
                expect_reply(tgd, 'A', 0);
            }
            expect_serving(tgd);
        }
    }
    EXPECT_NE(tgd.stderr_text().find("Out of memory. Restart TAVIX.\n"), std::string::npos);

    // Counts whose product with the element size exceeds any memory are
    // refused before anything is allocated.
    const SessionBytes huge[] = {
        SessionBytes().op('b').ints({INT_MAX, INT_MAX}),
        SessionBytes().op('r').ints({INT_MAX, INT_MAX}),
        SessionBytes().raw("zpcg").ints({INT_MAX, INT_MAX}),
    };
    for (const SessionBytes& bytes : huge) {
        send(tgd, bytes);
        expect_reply(tgd, 'A', 0);
        expect_serving(tgd);
    }
    expect_in_step(tgd);
    EXPECT_EQ(tgd.finish(), 0);
}

// Every real of every operation, and every parameter, set to a value that
// is not a number, infinite, the largest reals or minus zero: each
// operation answers normally, and the frame is still refreshed, recorded
// and printed whole.
TEST(HostileInput, NonFiniteAndExtremeReals) {
    for (float v : kHostileReals) {
        for (bool in_parameters : {false, true}) {
            SCOPED_TRACE(std::to_string(v) + (in_parameters ? " in every parameter" : " in every argument"));
            tgd::test::TempDir dir;
            TgdProcess tgd(in_directory(dir));
            tgd.send_byte('M');
            tgd.send_int(2);
            tgd.send_reals({0.0f, v});
            tgd.read_reals(200);
            tgd.close_input();
            start_deferred(tgd, 2, "hostile.dgf");
            if (in_parameters) {
                std::vector<float> pairs;
                for (int entry = 1; entry <= 200; ++entry) pairs.insert(pairs.end(), {float(entry), v});
                send_change(tgd, pairs);
            }
            const float a = in_parameters ? 0.5f : v;
            for (char op : {'L', 'P', 'G'}) {
                send_xy(tgd, op, {a, 0.5f, 0.7f}, {0.5f, a, 0.2f});
                expect_reply(tgd, op, 8);
            }
            tgd.send_byte('S');
            tgd.send_int(1);
            tgd.send_reals({a, a, a, a});
            expect_reply(tgd, 'S', 8);
            for (int i = 0; i < 3; ++i) {
                std::vector<float> xyj = {0.5f, 0.5f, 0.0f};
                xyj[std::size_t(i)] = a;
                tgd.send_byte('T');
                tgd.send_int(4);
                tgd.send_reals(xyj);
                tgd.send("text", 4);
                expect_reply(tgd, 'T', 8);
            }
            if (!in_parameters) send_change(tgd, {8, v, 10, v, 14, v, 15, v, 18, v, 48, v, 128, v});
            send(tgd, SessionBytes().op('i').i32(3).reals({a, 0.5f, 0.6f}).i32(2).reals({0.1f, a})
                          .i32(2).reals({a, 1}).reals({a, a, a}));
            expect_reply(tgd, 'i', 0);
            send(tgd, SessionBytes().raw("zpP").real(v).raw("zph").real(v).raw("zpw").real(v));
            for (int i = 0; i < 3; ++i) ASSERT_EQ(tgd.read_byte(), 'z');
            send_letter(tgd, 'd');
            print_both(tgd, dir, "hostile");
            send_letter(tgd, 'E');
            send_letter(tgd, 'X');
            expect_in_step(tgd);
            EXPECT_EQ(tgd.finish(), 0);
            EXPECT_TRUE(tgd.stderr_text().ends_with("Deferred Graphics turned off\n"));
        }
    }
}

// Parameter entries outside 1..200 (after truncation toward zero) change
// nothing and are not recorded; the pairs beside them still apply.
TEST(HostileInput, ParameterEntriesOutsideTheBlock) {
    Session session;
    auto& [dir, tgd] = session;
    start_deferred(tgd, 2, "entries.dgf");
    tgd.send_byte('I');
    const std::vector<float> before = tgd.read_reals(200);
    send_change(tgd, {0, 5, -1, 5, 0.9f, 5, 201, 5, 1e9f, 5, -1e9f, 5, kNaN, 5, kInf, 5, -kInf, 5, -0.0f, 5,
                      10, 4, 300});
    tgd.send_byte('I');
    std::vector<float> after = tgd.read_reals(200);
    EXPECT_EQ(after[9], 4.0f);  // colour, entry 10
    after[9] = before[9];
    EXPECT_EQ(after, before);
    send_letter(tgd, 'X');
    const std::string recorded = read_file(dir.file("entries.dgf"));
    EXPECT_EQ(recorded.rfind("diff", 0), 0u) << recorded;
    EXPECT_EQ(count_of(recorded, "\n"), 2u) << recorded;  // "diff 2" and the one pair
    expect_in_step(tgd);
}

// An image whose value count is smaller than its grid: the cells without a
// value are not drawn, on the terminal and in both printers.
TEST(HostileInput, ImageValuesFewerThanTheGrid) {
    Session session;
    auto& [dir, tgd] = session;
    for (int nz : {0, 1, 11}) {
        send(tgd, SessionBytes().op('i').i32(5).reals({0.1f, 0.3f, 0.5f, 0.7f, 0.9f}).i32(4)
                      .reals({0.1f, 0.4f, 0.6f, 0.9f}).i32(nz).reals(std::vector<float>(std::size_t(nz), 3.0f))
                      .reals({1, 6, -1}));
        expect_reply(tgd, 'i', 0);
    }
    send(tgd, SessionBytes().op('i').i32(1).real(0.5f).i32(0).i32(4).reals({1, 2, 3, 4}).reals({1, 6, -1}));
    expect_reply(tgd, 'i', 0);
    send_letter(tgd, 'd');
    print_both(tgd, dir, "image");
    expect_in_step(tgd);
}

// A text of 100,000 characters through the terminal and its out-of-bounds
// report, the deferred-graphics file, a refresh and both printers.
TEST(HostileInput, HundredThousandCharacterText) {
    Session session;
    auto& [dir, tgd] = session;
    start_deferred(tgd, 2, "long.dgf");
    std::string text;
    for (int i = 0; text.size() < 100000; ++i) text += "word(" + std::to_string(i) + ")\\ ";
    text.resize(100000);
    tgd.send_byte('T');
    tgd.send_int(static_cast<int>(text.size()));
    tgd.send_reals({0.5f, 0.5f, 0.0f});
    tgd.send(text.data(), text.size());
    expect_reply(tgd, 'T', 8);
    EXPECT_NE(tgd.stderr_text().find(text), std::string::npos);  // the report names the whole text
    send_letter(tgd, 'd');
    print_both(tgd, dir, "long");
    EXPECT_NE(read_file(dir.file("long.ps")).find(R"(word\(1000\)\\ word\(1001\))"), std::string::npos);
    send_letter(tgd, 'X');
    EXPECT_NE(read_file(dir.file("long.dgf")).find(text), std::string::npos);
    expect_in_step(tgd);
}

// File names with blanks, quotes, command substitutions and semicolons,
// wherever the host gives a name: each names exactly one file, and a print
// command gets it as one quoted word.
TEST(HostileInput, FileNamesWithShellCharacters) {
    tgd::test::TempDir dir;
    const std::vector<std::string> names = {"a b", "it's", "say \"hi\"", "$(touch pwned)", "x; touch pwned",
                                            "`touch pwned`"};
    TgdProcess tgd(in_directory(dir));
    initialise_without_wait(tgd);
    send_xy(tgd, 'L', {0.1f, 0.9f}, {0.1f, 0.9f});
    expect_reply(tgd, 'L', 8);
    set_region(tgd);
    int serial = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        // In the printing options a name is quoted with the quote it does
        // not contain.
        const std::string q = name.find('\'') == std::string::npos ? "'" : "\"";
        const std::string stem = name + " " + std::to_string(++serial);
        start_deferred(tgd, 2, stem + ".dgf");
        print(tgd, print_options("postscript", q + stem + ".ps" + q));
        print(tgd, print_options("laserjet", q + stem + ".lj" + q));
        print(tgd, print_options("laserjet", "''", q + stem + " ##.lj" + q));
        send_ps_option(tgd, 'o');
        tgd.send_text(stem + " ##.ps");
        ASSERT_EQ(tgd.read_byte(), 'z');
        print(tgd, print_options("postscript", "''"));
        tgd.clear_stderr();
        print(tgd, "-1 -1 1 75 -1 0 0 0 postscript true " + q + stem + " cmd.ps" + q + " '' ''");
        // The command runs in the background on a quoted name; it is not
        // waited for.
        const std::string quoted = "'" + std::regex_replace(stem, std::regex("'"), "'\\''") + " cmd.ps'";
        EXPECT_NE(tgd.stderr_text().find("executing command \"true " + quoted + " &\""), std::string::npos)
            << tgd.stderr_text();
        for (const char* file : {".dgf", ".ps", ".lj", " 01.lj", " 01.ps", " cmd.ps"})
            EXPECT_TRUE(fs::exists(dir.file(stem + file))) << file;
    }
    send_letter(tgd, 'X');
    expect_in_step(tgd);
    EXPECT_EQ(tgd.finish(), 0);
    EXPECT_FALSE(fs::exists(dir.file("pwned")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 6 * 6);
}

// The names of the files tgd reports it made in /tmp.
std::vector<std::string> files_in_tmp(const std::string& messages) {
    std::vector<std::string> files;
    std::regex name("(/tmp/[^\"' \n]+)");
    for (auto it = std::sregex_iterator(messages.begin(), messages.end(), name); it != std::sregex_iterator(); ++it)
        files.push_back((*it)[1]);
    return files;
}

// A working directory in which nothing can be created (it was removed
// while tgd ran, which stops even the superuser): the deferred file is
// refused, the printers fall back to /tmp, and tgd goes on serving.
TEST(HostileInput, UnwritableWorkingDirectory) {
    tgd::test::TempDir dir;
    const fs::path gone = dir.path() / "gone";
    fs::create_directory(gone);
    Options options;
    options.cwd = gone.string();
    TgdProcess tgd(options);
    initialise_without_wait(tgd);
    fs::remove(gone);
    send_xy(tgd, 'L', {0.1f, 0.9f}, {0.1f, 0.9f});
    expect_reply(tgd, 'L', 8);
    for (const char* name : {"frames.dgf", ""}) {
        tgd.clear_stderr();
        tgd.send_byte('C');
        tgd.send_int(2);
        tgd.send_text(name);
        EXPECT_EQ(tgd.read_byte(), 'A');
        EXPECT_NE(tgd.stderr_text().find("Error: Cannot open deferred graphics file\n"), std::string::npos);
    }
    set_region(tgd);
    const std::string lj = "tgd-hostile-" + std::to_string(getpid()) + ".lj";
    tgd.clear_stderr();
    print(tgd, print_options("postscript", "''"));
    print(tgd, print_options("laserjet", lj));
    const std::string messages = tgd.stderr_text();
    EXPECT_NE(messages.find("will try to open file in /tmp."), std::string::npos) << messages;
    EXPECT_NE(messages.find("Will try to open a file in /tmp."), std::string::npos) << messages;
    const std::vector<std::string> made = files_in_tmp(messages);
    bool ps = false, pcl = false;
    for (const std::string& file : made) {
        const std::string content = read_file(file);
        ps = ps || complete_postscript(content);
        pcl = pcl || complete_laserjet(content);
        fs::remove(file);
    }
    EXPECT_TRUE(ps && pcl) << messages;
    expect_in_step(tgd);
    EXPECT_EQ(tgd.finish(), 0);
}

// Deferred graphics into /dev/full: every write fails for want of space;
// the loss is reported and tgd goes on serving.
TEST(HostileInput, DeferredGraphicsToAFullDevice) {
    TgdProcess tgd;
    initialise_without_wait(tgd);
    tgd.close_input();
    tgd.clear_stderr();
    for (int mode : {2, 1}) {
        start_deferred(tgd, mode, "/dev/full");
        send_xy(tgd, 'L', {0.1f, 0.9f}, {0.1f, 0.9f});
        expect_reply(tgd, 'L', 8);
        send_change(tgd, {10, 2});
        tgd.send_byte('T');
        tgd.send_int(4);
        tgd.send_reals({0.5f, 0.5f, 0.0f});
        tgd.send("text", 4);
        expect_reply(tgd, 'T', 8);
        send_letter(tgd, 'E');
    }
    send_letter(tgd, 'X');
    expect_in_step(tgd);
    EXPECT_EQ(tgd.finish(), 0);
    EXPECT_EQ(count_of(tgd.stderr_text(), "Deferred Graphics turned off\n"), 2u);
    // The lost records are reported at the end of the frame and again for
    // what was lost after it when the file is closed.
    EXPECT_EQ(count_of(tgd.stderr_text(), "Error: Cannot write deferred graphics file\n"), 4u);
}

// Every operation, field by field: end of file after any field ends the
// process normally (status 0) with no file left half-made by a crash.
TEST(HostileInput, EndOfFileInsideEveryOperation) {
    using S = SessionBytes;
    const std::vector<std::vector<S>> operations = {
        {S().op('L'), S().i32(2), S().reals({0.1f, 0.2f}), S().reals({0.3f, 0.4f})},
        {S().op('P'), S().i32(2), S().reals({0.1f, 0.2f}), S().reals({0.3f, 0.4f})},
        {S().op('G'), S().i32(3), S().reals({0.1f, 0.2f, 0.3f}), S().reals({0.3f, 0.4f, 0.1f})},
        {S().op('S'), S().i32(1), S().real(0.1f), S().real(0.2f), S().real(0.3f), S().real(0.4f)},
        {S().op('T'), S().i32(3), S().real(0.5f), S().real(0.5f), S().real(0.0f), S().raw("a"), S().raw("bc")},
        {S().op('D'), S().i32(2), S().real(10), S().real(3)},
        {S().op('C'), S().i32(2), S().i32(5), S().raw("f."), S().raw("dgf")},
        {S().op('s'), S().i32(4), S().raw("-1 "), S().raw("-1")},
        {S().op('Q'), S().i32(2)},
        {S().op('q'), S().op('w')},
        {S().op('m'), S().op('t')},
        {S().op('h'), S().i32(3), S().i32(1), S().i32(7), S().i32(1), S().i32(8)},
        {S().op('i'), S().i32(2), S().reals({0.1f, 0.9f}), S().i32(2), S().reals({0.1f, 0.9f}), S().i32(1),
         S().real(3), S().real(1), S().real(6), S().real(-1)},
        {S().op('b'), S().i32(1), S().i32(1), S().real(1), S().i32(1), S().i32(1), S().i32(2), S().i32(2),
         S().raw("ab"), S().i32(2), S().i32(2), S().raw("cd"), S().i32(0)},
        {S().op('r'), S().i32(1), S().i32(1), S().real(1), S().i32(2), S().i32(2), S().raw("ab"), S().op('x'),
         S().i32(0)},
        {S().op('c'), S().i32(1), S().i32(1), S().i32(2), S().i32(3), S().i32(4)},
        {S().op('z'), S().op('m'), S().i32(2), S().i32(4), S().i32(2), S().i32(2), S().raw("a"),
         S().raw(std::string("\0b\0", 3))},
        {S().op('z'), S().op('l'), S().i32(3), S().raw("a"), S().raw("bc")},
        {S().raw("zp"), S().op('A'), S().op('p'), S().i32(1), S().i32(3), S().raw("abc")},
        {S().raw("zp"), S().op('c'), S().op('g'), S().i32(1), S().i32(2), S().real(1), S().real(2)},
        {S().raw("zp"), S().op('o'), S().i32(2), S().raw("x")},
        {S().raw("zp"), S().op('r'), S().reals({0, 0}), S().reals({612, 792})},
        {S().raw("zp"), S().op('l'), S().op('a'), S().i32(1)},
        {S().raw("zp"), S().op('P'), S().real(10)},
        {S().raw("zp"), S().op('f'), S().i32(1), S().i32(4), S().raw("Helv")},
    };
    auto ends_inside = [](const std::vector<S>& fields, std::size_t kept, bool initialised) {
        tgd::test::TempDir dir;
        TgdProcess tgd(in_directory(dir));
        if (initialised) initialise_without_wait(tgd);
        tgd.close_input();
        for (std::size_t i = 0; i < kept; ++i) send(tgd, fields[i]);
        EXPECT_EQ(tgd.finish(), 0);
    };
    for (const auto& fields : operations) {
        for (std::size_t kept = 1; kept < fields.size(); ++kept) {
            SCOPED_TRACE(fields[0].bytes() + " cut after field " + std::to_string(kept));
            ends_inside(fields, kept, true);
        }
    }
    const std::vector<S> start = {S().op('M'), S().i32(2), S().real(0), S().real(1)};
    for (std::size_t kept = 1; kept < start.size(); ++kept) ends_inside(start, kept, false);
}

// Reads the answer to op: its letter and n bytes, or 'B' alone; true when
// it was interrupted.
bool answered_or_interrupted(TgdProcess& tgd, char op, std::size_t n) {
    const char reply = tgd.read_byte();
    if (reply == 'B') return true;
    EXPECT_EQ(reply, op);
    std::string rest(n, '\0');
    if (n > 0) {
        EXPECT_TRUE(tgd.read_exact(rest.data(), n));
    }
    return false;
}

// SIGINT sent over and over while the host draws, prints, refreshes and
// starts new frames: a drawing answers normally or with 'B' (and is then
// not recorded), printing and refresh are never interrupted and their
// files are whole.
TEST(HostileInput, SigintStormWhileDrawingAndPrinting) {
    Session session;
    auto& [dir, tgd] = session;
    start_deferred(tgd, 2, "storm.dgf");
    set_region(tgd);

    std::atomic<bool> storming{true};
    std::thread storm([&storming, pid = tgd.pid()] {
        while (storming) {
            kill(pid, SIGINT);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    std::vector<float> x(500), y(500);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = float(i % 2);
        y[i] = float(i) / 500.0f;
    }
    int lines_recorded = 0;
    for (int round = 0; round < 20; ++round) {
        send_xy(tgd, 'L', x, y);
        if (!answered_or_interrupted(tgd, 'L', 8)) ++lines_recorded;
        tgd.send_byte('T');
        tgd.send_int(5);
        tgd.send_reals({0.1f, 0.5f, 0.0f});
        tgd.send("storm", 5);
        answered_or_interrupted(tgd, 'T', 8);
        const std::string stem = dir.file("round" + std::to_string(round));
        print(tgd, print_options("postscript", stem + ".ps"));
        print(tgd, print_options("laserjet", stem + ".lj"));
        send_letter(tgd, 'd');
        EXPECT_TRUE(complete_postscript(read_file(stem + ".ps"))) << round;
        EXPECT_TRUE(complete_laserjet(read_file(stem + ".lj"))) << round;
        tgd.send_byte('E');
        answered_or_interrupted(tgd, 'E', 0);
    }
    storming = false;
    storm.join();
    expect_in_step(tgd);
    send_letter(tgd, 'X');
    EXPECT_EQ(tgd.finish(), 0);
    EXPECT_EQ(count_of(read_file(dir.file("storm.dgf")), "lines 500"), std::size_t(lines_recorded));
}

// Files already in the working directory under the names tgd makes up
// (numbered printer files, unique names, temporary deferred files) are
// never overwritten; a deferred file named by the host is appended to.
TEST(HostileInput, PreExistingFilesAreKept) {
    tgd::test::TempDir dir;
    const std::map<std::string, std::string> before = {
        {"lj.out.0001.lj", "first"}, {"lj.out.0003.lj", "third"}, {"doc.01.ps", "%!PS-Adobe-3.0\n% mine\n"},
        {"TXtemp.aaaaaa", "temp"},   {"notes.txt", "notes"},      {"frames.dgf", "lines 1\n 0 0\n"},
    };
    for (const auto& [name, content] : before) std::ofstream(dir.file(name)) << content;
    auto checksum = [](const std::string& s) { return std::hash<std::string>{}(s); };

    TgdProcess tgd(in_directory(dir));
    initialise_without_wait(tgd);
    send_xy(tgd, 'L', {0.1f, 0.9f}, {0.1f, 0.9f});
    expect_reply(tgd, 'L', 8);
    send(tgd, SessionBytes().raw("zpr").reals({0, 0, 612, 792}).raw("zpo").text("doc.##.ps"));
    for (int i = 0; i < 2; ++i) ASSERT_EQ(tgd.read_byte(), 'z');
    for (int i = 0; i < 2; ++i) print(tgd, print_options("postscript", "''"));
    send_ps_option(tgd, 'o');
    tgd.send_text("");
    ASSERT_EQ(tgd.read_byte(), 'z');
    for (int i = 0; i < 2; ++i) print(tgd, print_options("postscript", "''"));
    for (int i = 0; i < 3; ++i) print(tgd, print_options("laserjet", "''"));
    for (const char* name : {"", "", "frames.dgf"}) {
        start_deferred(tgd, 2, name);
        send_xy(tgd, 'L', {0.1f, 0.9f}, {0.1f, 0.9f});
        expect_reply(tgd, 'L', 8);
    }
    send_letter(tgd, 'X');
    EXPECT_EQ(tgd.finish(), 0);

    for (const auto& [name, content] : before) {
        std::string now = read_file(dir.file(name));
        if (name == "frames.dgf") now = now.substr(0, content.size());
        EXPECT_EQ(checksum(now), checksum(content)) << name;
    }
    for (const char* made : {"doc.02.ps", "doc.03.ps", "lj.out.0002.lj", "lj.out.0004.lj", "lj.out.0005.lj"})
        EXPECT_TRUE(fs::exists(dir.file(made))) << made;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()),
              long(before.size()) + 5 + 2 + 2);  // and two ps.out and two TXtemp files
}

}  // namespace
