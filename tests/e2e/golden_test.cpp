// Golden sessions: a whole host session run through tgd, every output (the
// replies as a transcript, the terminal stream, the printed files, the
// deferred-graphics file) compared byte for byte with its recorded copy in
// tests/golden/<session>/.  tests/golden/bless records the current outputs
// after a deliberate change; review them with git diff.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "demo_session.h"
#include "harness/temp_dir.h"
#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

std::string printable(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\n') out += "\\n";
        else if (c < 32 || c > 126) out += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
        else out += static_cast<char>(c);
    }
    return out;
}

// Where two outputs part: the byte offset, the line, and a little of both.
std::string first_difference(const std::string& expected, const std::string& actual) {
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    std::size_t line = 1;
    for (std::size_t i = 0; i < at; ++i) line += expected[i] == '\n';
    return "first difference at byte " + std::to_string(at) + " (line " + std::to_string(line) + "): expected \"" +
           printable(expected.substr(at, 40)) + "\", got \"" + printable(actual.substr(at, 40)) + "\"";
}

void write_file(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Compares each output with its recorded copy, or records it when
// TGD_BLESS is set.
void check_golden(const std::string& session, const std::vector<std::pair<std::string, std::string>>& outputs) {
    const std::string dir = std::string(TGD_TEST_DATA) + "/golden/" + session + "/";
    const bool bless = std::getenv("TGD_BLESS") != nullptr;
    for (const auto& [name, actual] : outputs) {
        if (bless) {
            write_file(dir + name, actual);
            continue;
        }
        const std::string expected = read_file(dir + name);
        EXPECT_FALSE(expected.empty()) << dir + name << " is missing: run tests/golden/bless";
        if (expected != actual) ADD_FAILURE() << session << "/" << name << ": " << first_difference(expected, actual);
    }
}

TEST(Golden, DemonstrationSession) {
    tgd::test::TempDir dir;
    Options options;
    options.env = {{"TGD_POSTSCRIPT_TIME", "86400"}, {"TZ", "UTC"}, {"*()", "golden session"}};
    options.cwd = dir.path();
    TgdProcess tgd(options);

    // No prolog lines: the document carries tgd's own prolog.
    tgdhost::DemoFiles files;
    files.postscript = "demo.ps";
    files.laserjet = "demo.lj";
    files.deferred = "demo.dgf";
    files.type = [&](const std::string& text) { tgd.type(text); };
    std::FILE* transcript = std::tmpfile();
    ASSERT_NE(transcript, nullptr);
    tgdhost::run_demo_session(tgd, files, transcript);
    EXPECT_EQ(tgd.finish(), 0);

    std::string lines;
    std::rewind(transcript);
    for (int c; (c = std::fgetc(transcript)) != EOF;) lines += static_cast<char>(c);
    std::fclose(transcript);
    check_golden("demo", {{"transcript.txt", lines},
                          {"terminal.bin", tgd.stderr_text()},
                          {"demo.ps", read_file(dir.file("demo.ps"))},
                          {"demo.lj", read_file(dir.file("demo.lj"))},
                          {"demo.dgf", read_file(dir.file("demo.dgf"))}});
}

}  // namespace
