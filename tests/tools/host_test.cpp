// tgd-host as a person uses it: scripts run through the real tgd, the
// terminal's prompts answered from the script, exit statuses, and the
// round trip of a recorded session replayed from its deferred-graphics
// file.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "harness/host_ops.h"
#include "harness/temp_dir.h"
#include "host/recording.h"
#include "stream/terminal_scanner.h"

namespace {

using namespace tgdhost;

using tgdtest::read_file;

void write_file(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Runs tgd-host in dir with the arguments; its exit status, and its
// standard output and error in out.
int tgd_host(const tgd::test::TempDir& dir, const std::string& args, std::string& out) {
    const std::string command =
        "cd '" + dir.path().string() + "' && '" TGD_HOST_EXE "' --tgd '" TGD_EXE "' " + args + " > host.out 2>&1";
    const int status = std::system(command.c_str());
    out = read_file(dir.file("host.out"));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TgdHost, AnswersPromptsReportsRepliesAndExitsAsDocumented) {
    tgd::test::TempDir dir;
    write_file(dir.file("s.tgd"),
               "init\n"
               "answer locator 100 51 32\n"
               "locator\n"
               "answer locator 40 51\n"
               "answer locator 490 348\n"
               "answer locator\n"
               "locator-points 5\n"
               "deferred on /nonexistent/dir/x.dgf\n"
               "lines 0 0 1 1\n"
               "newframe\n");
    std::string out;
    EXPECT_EQ(tgd_host(dir, "--terminal t.log s.tgd", out), 1) << out;  // the 'A' makes it a failure
    EXPECT_NE(out.find("line 3: locator -> q, (0.132482, -1.28441e-08) key 1"), std::string::npos) << out;
    EXPECT_NE(out.find("line 7: locator-points 5 -> Q, 2 points (-0.000875627, -1.28441e-08) (0.99931, 1)"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("line 8: deferred on /nonexistent/dir/x.dgf -> A (abandoned)\n"
                       "    tgd: Deferred Graphics on\n"
                       "    tgd: Error: Cannot open deferred graphics file"),
              std::string::npos)
        << out;
    // The session went on after it, through a new frame whose prompt was
    // answered.
    EXPECT_NE(out.find("line 9: lines (2 points) -> L, last point (1, 1)"), std::string::npos) << out;
    EXPECT_NE(out.find("line 10: newframe -> E"), std::string::npos) << out;
    EXPECT_NE(read_file(dir.file("t.log")).find("\x1b*mRGO?\x1b*dtcA"), std::string::npos);

    write_file(dir.file("bad.tgd"), "init\nlines 1\n");
    EXPECT_EQ(tgd_host(dir, "bad.tgd", out), 1);
    EXPECT_EQ(out, "bad.tgd:2: lines: 1 numbers, a multiple of 2 is needed\n");
    write_file(dir.file("bad.dgf"), "lines 2\n 0 0\ntext 0 0 0 3\n");
    EXPECT_EQ(tgd_host(dir, "--replay bad.dgf", out), 1);
    EXPECT_EQ(out, "bad.dgf:3: lines: 2 numbers expected, found 5\n");
    EXPECT_EQ(tgd_host(dir, "--print postscript s.tgd", out), 2);
    EXPECT_EQ(tgd_host(dir, "", out), 2);
    EXPECT_EQ(tgd_host(dir, "--help", out), 0);
    EXPECT_NE(out.find("usage: tgd-host"), std::string::npos);

    // tgd itself answers --version and refuses arguments it does not know,
    // without waiting for a host on descriptor 15.
    EXPECT_EQ(std::system("'" TGD_EXE "' --version > /dev/null"), 0);
    const int status = std::system("'" TGD_EXE "' --bogus 2> /dev/null");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
}

TEST(Recording, MalformedFilesNameTheLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"lines 2\n 0 0\n", "2: the file ends inside a lines record"},
        {"points x\n", "1: points: 'x' is not a count"},
        {"polygon 1\n 0 zero\n", "2: 'zero' is not a number"},
        {"segs 1\n 0 0 1\n", "2: segs: 4 numbers expected, found 3"},
        {"text 0 0 0 2\nabc\n", "2: text: the string is longer than the 2 characters its record announces"},
        {"diff 3\n", "1: diff: the count of numbers must be even"},
        {"diff 2\n 201 1\n", "2: parameter entry out of range 1 to 200"},
        {"eject 1\n", "1: 'eject' needs 0 numbers"},
        {"circle 3\n", "1: unknown record 'circle'"},
        {"eject\n 0 0\n", "2: a number line where a record keyword was expected"},
    };
    for (const auto& [text, expected] : cases) {
        const Recording r = read_recording(text);
        ASSERT_TRUE(r.error) << text;
        EXPECT_EQ(std::to_string(r.error->line) + ": " + r.error->message, expected);
    }
    // A text whose trailing blanks the writer dropped gets them back, and
    // reading stops at the logical end.
    const Recording r = read_recording("text 0.5 0.5 0.5 5\nab\nend\nlines 1\n");
    ASSERT_FALSE(r.error);
    ASSERT_EQ(r.operations.size(), 1u);
    EXPECT_EQ(r.operations[0].text, "ab   ");
}

// The escape sequences of a terminal stream, and its text.
void split_stream(const std::string& stream, std::string& sequences, std::string& text) {
    tgdtools::TerminalScanner scanner;
    auto sink = [&](const tgdtools::TerminalToken& t) {
        (t.kind == tgdtools::TerminalToken::Sequence ? sequences : text) += t.bytes;
    };
    scanner.feed(stream, sink);
    scanner.finish(sink);
}

void remove_once(std::string& text, const std::string& part) {
    const auto at = text.find(part);
    ASSERT_NE(at, std::string::npos) << part;
    text.erase(at, part.size());
}

// The page bodies of the PostScript documents in dir, sorted.
std::vector<std::string> postscript_pages(const std::filesystem::path& dir) {
    std::vector<std::string> pages;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        if (e.path().filename().string().rfind("ps.out.", 0) != 0) continue;
        const std::string doc = read_file(e.path().string());
        const auto from = doc.find("%%Page:"), to = doc.find("%%Trailer");
        EXPECT_NE(from, std::string::npos);
        pages.push_back(doc.substr(from, to - from));
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

TEST(Replay, RecordedSessionReplaysToTheSameTerminalStreamAndPages) {
    tgd::test::TempDir original, replay;
    write_file(original.file("s.tgd"),
               "init\n"
               "deferred on rec.dgf\n"
               "ps region 0 0 612 792\n"
               "lines 0 0 1 0 1 1 0 1 0 0\n"
               "set color 3 line_type 2 plot_symbol 1\n"
               "points 0.2 0.2 0.4 0.3 0.6 0.2\n"
               "polygon 0.1 0.7 0.3 0.7 0.2 0.9\n"
               "segments 0.1 0.1 0.9 0.1 0.1 0.9 0.9 0.9\n"
               "set char_expansion 2\n"
               "text 0.5 0.5 centre \"round trip  \"\n"
               "print postscript\n"
               "newframe\n"
               "newframe\n"
               "set color 2\n"
               "lines 0 1 1 0\n"
               "print postscript\n"
               "newframe\n"
               "wrapup\n");
    std::string out;
    ASSERT_EQ(tgd_host(original, "--terminal t.log s.tgd", out), 0) << out;
    std::filesystem::copy_file(original.file("rec.dgf"), replay.file("rec.dgf"));
    ASSERT_EQ(tgd_host(replay, "--terminal t.log --replay rec.dgf --print postscript", out), 0) << out;

    std::string sequences1, sequences2, text1, text2;
    split_stream(read_file(original.file("t.log")), sequences1, text1);
    split_stream(read_file(replay.file("t.log")), sequences2, text2);
    EXPECT_EQ(sequences1, sequences2);
    // What the recording does not keep: the recorder's own messages; and
    // the printed files get fresh names.
    remove_once(text1, "Deferred Graphics on\n");
    remove_once(text1, "Deferred Graphics turned off\n");
    const std::regex name("\"ps\\.out\\.[^\"]*\"");
    text1 = std::regex_replace(text1, name, "NAME");
    text2 = std::regex_replace(text2, name, "NAME");
    EXPECT_EQ(text1, text2);

    const auto pages1 = postscript_pages(original.path()), pages2 = postscript_pages(replay.path());
    EXPECT_EQ(pages1.size(), 2u);
    EXPECT_EQ(pages1, pages2);
}

}  // namespace
