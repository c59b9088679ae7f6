#include "base/chars.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/abandon.h"
#include "harness/fd_capture.h"

namespace tgd {
namespace {

TEST(Chars, CaseFoldingTouchesOnlyLetters) {
    EXPECT_EQ(iascii_('a', 1), 'A');
    EXPECT_EQ(iascii_('A', 1), 'A');
    EXPECT_EQ(iascii_('Z', 2), 'z');
    EXPECT_EQ(iascii_('?', 2), '?');
    EXPECT_EQ(iascii_('q', 3), 'q');
    EXPECT_EQ(iascii_(0xE9, 1), 0xE9);
}

TEST(Chars, PositionsAreOneBased) {
    char s[] = "abcdef";
    char c = 0;
    jgetch_(c, s, 3);
    EXPECT_EQ(c, 'c');
    jputch_(s, 1, 'X');
    EXPECT_STREQ(s, "Xbcdef");
    char d[] = "........";
    concat_(d, 2, "12345", 3, 3);
    EXPECT_STREQ(d, ".345....");
    concat_(d, 1, "zz", 1, 0);
    concat_(d, 1, "zz", 1, -4);
    EXPECT_STREQ(d, ".345....");
}

TEST(Chars, LengthStopsAtNulOr511) {
    EXPECT_EQ(islen2_("abc\0xyz", 1), 3);
    EXPECT_EQ(islen2_("abcdef", 3), 4);
    EXPECT_EQ(islenz_(""), 0);
    std::string big(600, 'x');
    EXPECT_EQ(islenz_(big.c_str()), 511);
}

TEST(Chars, FillWords) {
    std::int32_t a[4] = {1, 2, 3, 4};
    lfill_(9, a, 3);
    EXPECT_EQ(a[0], 9);
    EXPECT_EQ(a[2], 9);
    EXPECT_EQ(a[3], 4);
    lfill_(5, a, 0);
    EXPECT_EQ(a[0], 9);
    test::FdCapture err;
    EXPECT_THROW(lfill_(0, a, -1), OperationAbandoned);
    EXPECT_EQ(err.text(), "Error: lfill: no. of items < 0\n");
}

TEST(Chars, OverlappingCopiesKeepOrder) {
    char s[] = "0123456789abcdef";
    EXPECT_EQ(sbcopy(s, s + 3, 10), s + 3);
    EXPECT_EQ(std::string(s), "0120123456789def");
    char t[] = "0123456789abcdef";
    sbcopy(t + 3, t, 10);
    EXPECT_EQ(std::string(t), "3456789abcabcdef");
    char u[] = "abc";
    sbcopy(u, u, 3);
    EXPECT_STREQ(u, "abc");
}

TEST(Chars, Yes) {
    for (const char* s : {"y", "Y", "t", "1", "yes", "YES", "on", "On", "true", "TRUE"}) {
        EXPECT_EQ(TX_isyes(s), 1) << s;
    }
    for (const char* s : {"n", "", "yes please", "no", "0", "yess", "true      x", "ye"}) {
        EXPECT_EQ(TX_isyes(s), 0) << s;
    }
    EXPECT_EQ(TX_isyes(nullptr), 0);
}

TEST(Chars, DumpShowsUnprintableBytesInHex) {
    struct Case {
        const char* label;
        std::string data, text;
    };
    for (const Case& c : {
             Case{nullptr, "a b", "TX_dumpbuf: a{20}b\n"},
             Case{"L:", "", "L:\n"},
             Case{"", "{}\n\xff~", "{7b}{7d}{0a}{ff}~\n"},
             // Long dumps are split into lines that each start with the label.
             Case{"lab ", std::string(100, 'x'),
                  "lab " + std::string(68, 'x') + "\nlab " + std::string(32, 'x') + "\n"},
         }) {
        SCOPED_TRACE(c.data);
        test::FdCapture err;
        TX_dumpbuf(2, c.label, c.data.data(), static_cast<int>(c.data.size()));
        EXPECT_EQ(err.text(), c.text);
    }
}

}  // namespace
}  // namespace tgd
