// Unique output names, with a fixed source for the characters that the
// system would otherwise choose at random.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "harness/temp_dir.h"
#include "settings/mktempx.h"

namespace tgdtest {
namespace {

using tgd::test::TempDir;

class MktempTest : public ::testing::Test {
protected:
    void SetUp() override {
        tgd::reset_mktempx_letters();
        tgd::set_temp_name_source([this] {
            ++draws;
            return draws <= static_cast<int>(chars.size()) ? chars[draws - 1] : std::string("zzzzzz");
        });
        ASSERT_FALSE(dir.path().empty());
    }
    void TearDown() override {
        tgd::set_temp_name_source({});
        tgd::reset_mktempx_letters();
    }
    void touch(const std::string& name) { std::ofstream(dir.file(name)) << "x"; }

    TempDir dir;
    std::vector<std::string> chars;  // what each attempt draws
    int draws = 0;
};

TEST_F(MktempTest, SevenXsGetTheCounterLetterAndSixDrawnCharacters) {
    chars = {"abc123"};
    std::string t = dir.file("ps.out.XXXXXXX");
    EXPECT_EQ(tgd::mktempx(t), dir.file("ps.out.Aabc123"));
    EXPECT_EQ(t, dir.file("ps.out.Aabc123"));
    EXPECT_EQ(tgd::mktempx_letters(), "AAAA");  // the counter moves on only when no name is found
}

TEST_F(MktempTest, ExistingNamesAreSkipped) {
    touch("ps.out.Aabc123");
    chars = {"abc123", "def456"};
    std::string t = dir.file("ps.out.XXXXXXX");
    EXPECT_EQ(tgd::mktempx(t), dir.file("ps.out.Adef456"));
}

TEST_F(MktempTest, NoFreeNameRetriesWithTheNextLetter) {
    touch("ps.out.Azzzzzz");  // every draw gives zzzzzz
    std::string t = dir.file("ps.out.XXXXXXX");
    EXPECT_EQ(tgd::mktempx(t), dir.file("ps.out.Bzzzzzz"));
    EXPECT_EQ(tgd::mktempx_letters(), "AAAB");
}

TEST_F(MktempTest, LettersCarryOnlyWhenNoNameIsFound) {
    // Below a regular file no name can be looked up: every call fails and
    // moves the counter on once; 26 failures carry into the third letter.
    touch("plain");
    for (int i = 0; i < 26; ++i) {
        std::string t = dir.file("plain/x.XXXXXXXX");
        EXPECT_EQ(tgd::mktempx(t), "");
    }
    EXPECT_EQ(tgd::mktempx_letters(), "AABA");
    // A call that finds a name leaves the counter alone.
    std::string t = dir.file("x.XXXXXXXX");
    EXPECT_EQ(tgd::mktempx(t), dir.file("x.BAzzzzzz"));
    EXPECT_EQ(tgd::mktempx_letters(), "AABA");
}

TEST_F(MktempTest, SixXsNeverUseTheCounterAndTwelveUseAllFourLetters) {
    touch("six.zzzzzz");
    std::string six = dir.file("six.XXXXXX");
    EXPECT_EQ(tgd::mktempx(six), "");  // no free name: the result is empty
    EXPECT_EQ(tgd::mktempx_letters(), "AAAA");

    chars = {"111111"};
    draws = 0;
    std::string twelve = dir.file("t.XXXXXXXXXXXX");
    EXPECT_EQ(tgd::mktempx(twelve), dir.file("t.XXAAAA111111"));
}

TEST_F(MktempTest, TooFewXsGiveAnEmptyName) {
    std::string t = dir.file("ps.out.XXXXX");
    EXPECT_EQ(tgd::mktempx(t), "");
    std::string none;
    EXPECT_EQ(tgd::mktempx(none), "");
}

TEST_F(MktempTest, SequenceStartsAfterSeqAndSkipsExistingFiles) {
    int seq = 0;
    const std::string templ = dir.file("lj.out.####.lj");
    EXPECT_EQ(tgd::mktempseq(templ, seq), dir.file("lj.out.0001.lj"));
    touch("lj.out.0001.lj");
    touch("lj.out.0002.lj");
    EXPECT_EQ(tgd::mktempseq(templ, seq), dir.file("lj.out.0003.lj"));
    EXPECT_EQ(seq, 0);  // the caller keeps its own count
}

TEST_F(MktempTest, SequenceNumbersFollowSeqAndTheRun) {
    struct Case {
        const char* existing;  // a file made first, or nullptr
        const char* templ;
        int seq;
        std::optional<std::string> name;
        std::optional<int> seq_after;
    };
    for (const Case& c : {
             // Long runs get five digits of seq, carried through the run.
             Case{nullptr, "f#######.ps", 41, "f0000042.ps", {}},
             Case{nullptr, "f#######.ps", 99999, "f0100000.ps", {}},
             // A seq out of range starts again.
             Case{nullptr, "lj.####", 10000, "lj.0001", 0},
             Case{nullptr, "lj.####", -3, "lj.0001", 0},
             // The sequence ends when the run is used up or missing.
             Case{"lj.out.9999.lj", "lj.out.####.lj", 9998, {}, {}},
             Case{nullptr, "one.#", 9, {}, {}},
             Case{nullptr, "plain.lj", 0, {}, {}},
             // Only the first run counts; a later '#' is an ordinary character.
             Case{nullptr, "a##b#", 0, "a01b#", {}},
         }) {
        SCOPED_TRACE(testing::Message() << c.templ << " " << c.seq);
        if (c.existing) touch(c.existing);
        int seq = c.seq;
        const auto name = tgd::mktempseq(dir.file(c.templ), seq);
        EXPECT_EQ(name, c.name ? std::optional(dir.file(*c.name)) : std::nullopt);
        if (c.seq_after) {
            EXPECT_EQ(seq, *c.seq_after);
        }
    }
}

}  // namespace
}  // namespace tgdtest
