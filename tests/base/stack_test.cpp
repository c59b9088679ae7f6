#include "base/stack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "base/abandon.h"
#include "harness/fd_capture.h"

namespace tgd {
namespace {

TEST(WorkStack, FirstUseSetsStackWords) {
    int c = jstkgt_(3, item::character);
    EXPECT_GT(c, 0);
    EXPECT_EQ(zstakz_[1], 0);  // guard
    EXPECT_EQ(zstakz_[5], 2);
    EXPECT_EQ(zstakz_[7], 1);
    EXPECT_EQ(zstksz_[0], 1);
}

TEST(WorkStack, CharacterBlocksChainThroughTheirLinkWords) {
    (void)jstkgt_(1, item::character);
    const int count = zstakz_[0];
    const int top1 = zstakz_[2];
    int c2 = jstkgt_(5, item::character);
    const int top2 = zstakz_[2];
    EXPECT_NE(top1, top2);
    EXPECT_EQ(istak(top2)[0], top1);  // link to the previous top
    EXPECT_EQ(istak(top2)[1], c2);    // the data's character index
    EXPECT_EQ(zstakz_[0], count + 1);
    auto data = cstak(c2);
    ASSERT_EQ(data.size(), 5u);
    for (char ch : data) EXPECT_EQ(ch, '\0');
}

TEST(WorkStack, WordAndDoubleBlocksStoreLinkAndTypeBeforeTheData) {
    const int old_top = zstakz_[2];
    int w = jstkgt_(3, item::real);
    EXPECT_EQ(zstakz_[2], w - 4);
    EXPECT_EQ(istak(w - 4)[0], old_top);
    EXPECT_EQ(istak(w - 4)[1], item::real);
    ASSERT_EQ(rstak(w).size(), 3u);
    rstak(w)[2] = 2.5f;
    EXPECT_EQ(rstak(w + 2)[0], 2.5f);

    int d = jstkgt_(2, item::dble);
    const int t = zstakz_[2];
    EXPECT_EQ(t, 2 * (d - 4) - 1);  // the top is in word units
    EXPECT_EQ(istak(t)[0], w - 4);
    EXPECT_EQ(istak(t)[1], item::dble);
    ASSERT_EQ(dstak(d).size(), 2u);
    dstak(d)[1] = 1e300;
    EXPECT_EQ(dstak(d + 1)[0], 1e300);
}

TEST(WorkStack, BadRequestsAreReportedAndAbandoned) {
    struct Case {
        int (*get)(long long, int);
        long long n;
        int type;
        const char* message;
    };
    for (const Case& c :
         {Case{jstkgt_, 0, 1, "Error: jstkgt: must allocate >0 items\n"},
          Case{jstkgt_, -5, 5, "Error: jstkgt: must allocate >0 items\n"},
          Case{jstkgt_, 1, 6, "Error: jstkgt: bad mode\n"}, Case{jstkgt_, 1, 0, "Error: jstkgt: bad mode\n"},
          Case{heapgt_, 1, 7, "Error: heapgt: Invalid mode in heap allocation\n"},
          Case{heapgt_, 0, 1, "Error: heapgt: <=0 items requested\n"},
          Case{chpget_, 3, 9, "Error:  Unexpected type in chpget (9)\n"}}) {
        SCOPED_TRACE(c.message);
        test::FdCapture err;
        EXPECT_THROW((void)c.get(c.n, c.type), OperationAbandoned);
        EXPECT_EQ(err.text(), c.message);
    }
    int h = heapgt_(4, item::integer);
    ASSERT_EQ(istak(h).size(), 4u);
    EXPECT_EQ(istak(h)[3], 0);
}

TEST(WorkStack, ImpossibleRequestsAreDeniedNotOverrun) {
    for (long long n : {-1LL, 1LL << 40, 1LL << 62}) {
        test::FdCapture err;
        EXPECT_THROW((void)chpget_(n, item::dble), OperationAbandoned);
        // (a sanitizer may add its own warning before the message)
        EXPECT_TRUE(err.text().ends_with("Error:  Request for memory (" + std::to_string(n) + " items) denied\n"));
    }
    // A stack count so large that its four header items do not fit in the
    // count is denied too, without overflowing.
    test::FdCapture err;
    EXPECT_THROW((void)jstkgt_(std::numeric_limits<long long>::max(), item::integer), OperationAbandoned);
    EXPECT_TRUE(err.text().ends_with(" items) denied\n"));
}

TEST(WorkStack, StringsAreCopiedWithTheirNul) {
    int c = istrn2_("hello world", 7, 5);
    EXPECT_STREQ(cstak(c).data(), "world");
    EXPECT_EQ(cstak(c).size(), 6u);
    int d = istrng_("abc\0def", -1);
    EXPECT_STREQ(cstak(d).data(), "abc");
    EXPECT_TRUE(cstak(0).empty());
    EXPECT_TRUE(istak(-3).empty());
}

TEST(WorkStackDeathTest, DamagedGuardEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            (void)jstkgt_(1, 1);
            zstakz_[1] = 7;
            (void)jstkgt_(1, 1);
        },
        "TX terminating: stack overwritten");
}

}  // namespace
}  // namespace tgd
