// Recording the frame, collapsing it at a new frame, copying and releasing
// lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/process_state.h"
#include "displaylist/displaylist.h"
#include "core/bgrp.h"

namespace tgd {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class Recording : public testing::Test {
protected:
    void SetUp() override {
        reset_process_state();
        for (int i = 1; i <= 200; ++i) bgrp_(i) = static_cast<float>(i);
    }
    void TearDown() override { reset_process_state(); }

    static DisplayEntries& entries() { return current_displaylist->entries; }
};

TEST_F(Recording, EntriesOwnCopiesOfTheirArguments) {
    std::vector<float> x{1, 2, 3}, y{4, 5, 6};
    dlinsz_(x.data(), y.data(), 3);
    dlinsz_(x.data(), y.data(), 0);
    char text[] = {'a', 'b', 'c', 'X'};
    dtextz_(1.5f, 2.5f, text, 3, 0.5f);
    x[0] = 99;
    text[0] = 'z';
    ASSERT_EQ(entries().size(), 3u);
    EXPECT_EQ(std::get<LinesRecord>(entries()[0]), (LinesRecord{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(std::get<LinesRecord>(entries()[1]).n(), 0);
    const auto& t = std::get<TextRecord>(entries()[2]);
    EXPECT_EQ(t.n(), 3);
    EXPECT_STREQ(t.text.c_str(), "abc");  // counted and terminated
    EXPECT_EQ(t.justification, 0.5f);
    EXPECT_EQ(entry_type(entries()[2]), 5);
}

TEST_F(Recording, BrushEntryHoldsWhatTheDeviceIsHanded) {
    const float data[] = {1, 2, 3, 4, 5, 6};  // 3 points, 2 variables
    const int label_offsets[] = {0, 2};
    const int point_offsets[] = {0, 1, 2};
    const int work[] = {7, 8, 9};
    const int flags[] = {0, 1, 0};
    BrushRecord& r = dbrshz_(data, 3, 2, 11, 12, 4, 3, label_offsets, "x\0y\0", point_offsets, "abc", work,
                             flags, 0, 1);
    EXPECT_EQ(r.data, std::vector<float>(data, data + 6));
    EXPECT_EQ(r.labels, std::string("x\0y\0", 4));
    EXPECT_EQ(r.point_labels, "abc");
    EXPECT_EQ(r.work, (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(r.zero, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(r.flags, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(r.mode, 1);
    EXPECT_EQ(r.plot.nr, 3);
    EXPECT_EQ(r.plot.nc, 2);
    EXPECT_EQ(r.plot.data, std::vector<float>(6, 0.0f));
    EXPECT_EQ(&r, &*std::get<Boxed<BrushRecord>>(entries().back()));
}

// 'M', 'L', 'D', 'L', 'E' as the command loop records them.
TEST_F(Recording, NewFrameCollapsesToTheAttributeStateInForce) {
    dinitz_(bgrp_.data(), 130);
    for (int i = 1; i <= 200; ++i) bgrp_(i) = static_cast<float>(1000 + i);  // the kernel moved on
    const GraphicsParameters kernel = bgrp_;
    const float x[] = {0, 1}, y[] = {0, 1};
    const float change[] = {8, 5, 131, 7};
    dlinsz_(x, y, 2);
    ddiffz_(change, 4);
    dlinsz_(x, y, 2);
    ASSERT_EQ(entries().size(), 4u);

    dejecz_();
    EXPECT_EQ(bgrp_.v, kernel.v);
    ASSERT_EQ(entries().size(), 1u);
    const auto& init = std::get<InitRecord>(entries()[0]);
    ASSERT_EQ(init.n(), 200);
    for (int i = 1; i <= 200; ++i) {
        float expected = static_cast<float>(i <= 130 ? i : 1000 + i);
        if (i == 8) expected = 5;
        if (i == 131) expected = 7;
        if (i == 96) expected = -1;
        EXPECT_EQ(init.v[static_cast<std::size_t>(i - 1)], expected) << "entry " << i;
    }
}

TEST_F(Recording, NewFrameWithoutAListHoldsTheCurrentParameters) {
    dejecz_();
    ASSERT_NE(current_displaylist, nullptr);
    ASSERT_EQ(entries().size(), 1u);
    EXPECT_EQ(std::get<InitRecord>(entries()[0]).v, std::vector<float>(bgrp_.v.begin(), bgrp_.v.end()));
}

TEST_F(Recording, InstallingNoListStartsAFreshOne) {
    const float x[] = {1}, y[] = {2};
    dlinsz_(x, y, 1);
    DisplayList* first = get_displaylist();
    std::unique_ptr<DisplayList> kept = set_displaylist(nullptr);
    EXPECT_EQ(kept.get(), first);
    EXPECT_EQ(get_displaylist(), nullptr);
    dpntsz_(x, y, 1);
    ASSERT_EQ(entries().size(), 1u);
    EXPECT_EQ(entry_type(entries()[0]), 3);
    ASSERT_EQ(kept->entries.size(), 1u);
    EXPECT_EQ(entry_type(kept->entries[0]), 1);
    EXPECT_EQ(delete_displaylist(std::move(kept)), 0);
}

TEST_F(Recording, CopyIsDeepAndResetsTheInteractiveModes) {
    const float data[] = {1, 2};
    const int offsets[] = {0}, ints[] = {3, 4};
    BrushRecord& brush = dbrshz_(data, 2, 1, 0, 0, 1, 0, offsets, "v", nullptr, nullptr, ints, ints, 2, 1);
    brush.plot.state1 = 5;
    brush.plot.state4 = 6;
    brush.plot.matrix[1][2] = 0.5f;
    SpinRecord& spin = dspinz_(data, 2, 1, 1, offsets, "v", -3, ints, 1);
    spin.plot.data[1] = 9;
    const float x[] = {1}, y[] = {2};
    dlinsz_(x, y, 1);

    std::unique_ptr<DisplayList> copy = copy_displaylist(get_displaylist());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->entries.size(), 3u);
    const auto& b = *std::get<Boxed<BrushRecord>>(copy->entries[0]);
    EXPECT_EQ(b.count, 2);
    EXPECT_EQ(b.mode, 0);
    EXPECT_EQ(b.plot.state1, 5);
    EXPECT_EQ(b.plot.state4, 0);
    EXPECT_EQ(b.plot.matrix[1][2], 0.5f);
    EXPECT_EQ(b.flags, (std::vector<int>{3, 4}));
    const auto& s = *std::get<Boxed<SpinRecord>>(copy->entries[1]);
    EXPECT_EQ(s.option, 0);
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.plot.data[1], 9);
    EXPECT_EQ(s.values, (std::vector<int>{3, 4}));
    EXPECT_EQ(copy->entries[2], entries()[2]);
    // Changing the copy leaves the original alone.
    std::get<LinesRecord>(copy->entries[2]).x[0] = 50;
    EXPECT_EQ(std::get<LinesRecord>(entries()[2]).x[0], 1);

    EXPECT_EQ(copy_displaylist(nullptr), nullptr);
    EXPECT_EQ(copy_displaylist(std::make_unique<DisplayList>().get()), nullptr);
}

TEST_F(Recording, UnknownEntriesAreReportedWhenCopiedAndReleased) {
    const float x[] = {1}, y[] = {2};
    dlinsz_(x, y, 1);
    entries().emplace_back(UnknownRecord{13});
    CaptureStderr();
    std::unique_ptr<DisplayList> copy = copy_displaylist(get_displaylist());
    EXPECT_EQ(GetCapturedStderr(), "Unknown type in copy_displaylist.\n");
    ASSERT_EQ(copy->entries.size(), 2u);
    EXPECT_EQ(entry_type(copy->entries[1]), 13);
    CaptureStderr();
    delete_displaylist(std::move(copy));
    EXPECT_EQ(GetCapturedStderr(), "Unkown type in freeentry (13).\n");
}

}  // namespace
}  // namespace tgd
