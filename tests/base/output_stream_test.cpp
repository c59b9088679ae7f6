// The printers' output stream: its first error sticks, and print commands
// started while a file is open do not inherit it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/output_stream.h"
#include "harness/temp_dir.h"

namespace {

using tgd::OutputStream;

TEST(OutputStream, WriteErrorSticks) {
    OutputStream s;
    ASSERT_TRUE(s.open("/dev/full", "a"));
    s.write(std::string(70000, 'x'));
    s.flush();
    EXPECT_FALSE(s.ok());
    s.write("more");
    EXPECT_FALSE(s.close());
    EXPECT_FALSE(s.is_open());
}

TEST(OutputStream, OpenFailureIsReported) {
    OutputStream s;
    EXPECT_FALSE(s.open("/nonexistent-dir/x.lj", "a"));
    EXPECT_FALSE(s.is_open());
    EXPECT_FALSE(s.open("", "w"));
}

// What a command started from here sees of its own descriptors.
std::string descriptors_of_a_command() {
    std::FILE* listing = popen("ls -l /proc/self/fd 2>/dev/null", "r");
    std::string text;
    if (listing == nullptr) return text;
    char buf[512];
    while (std::fgets(buf, sizeof buf, listing) != nullptr) text += buf;
    pclose(listing);
    return text;
}

TEST(OutputStream, PrintCommandsDoNotInheritTheOpenFile) {
    tgd::test::TempDir dir;
    for (const char* mode : {"w", "a"}) {
        OutputStream out;
        ASSERT_TRUE(out.open(dir.file("open.out"), mode));
        const std::string text = descriptors_of_a_command();
        EXPECT_NE(text.find(" -> "), std::string::npos);  // the listing worked
        EXPECT_EQ(text.find("open.out"), std::string::npos) << mode;
        EXPECT_TRUE(out.close());
    }
}

}  // namespace
