// Session scripts: every operation of the language read into what is sent,
// and malformed lines reported with their line number and the fault.
#include <gtest/gtest.h>

#include "host/script.h"

namespace {

using namespace tgdhost;

TEST(SessionScript, EveryOperationIsReadIntoWhatIsSent) {
    const Script s = parse_script(
        "# a comment line\n"
        "init\n"
        "init 0 2\n"
        "set color 3 8 2   # by name and by number\n"
        "lines 0 0 1 0.5\n"
        "points 0.2 0.2\n"
        "polygon 0 0 1 0 \\\n"
        "        1 1\n"
        "segments 0 0 1 1 0 1 1 0\n"
        "text 0.5 0.9 centre \"say \\\"hi\\\" # not a comment\"\n"
        "image x 0 1 2 y 0 1 z 5 7 range 1 6 missing -1\n"
        "print laserjet out.lj portrait dpi 150 paper a4 maximize size 8 6 command \"lpr -P x\"\n"
        "print postscript \"my file.ps\"\n"
        "ps region 0 0 612 792\n"
        "deferred on rec.dgf\n"
        "deferred off\n"
        "answer frame\n"
        "answer locator 10 20\n"
        "locator\n"
        "locator-points 4\n"
        "newframe\nrefresh\nsync\nwrapup\n");
    ASSERT_TRUE(s.errors.empty()) << s.errors[0].line << ": " << s.errors[0].message;
    const auto& o = s.operations;
    ASSERT_EQ(o.size(), 22u);
    EXPECT_EQ(o[0].kind, OpKind::Init);
    EXPECT_EQ(o[0].line, 2);
    EXPECT_TRUE(o[0].values.empty());
    EXPECT_EQ(o[1].values, (std::vector<float>{0, 2}));
    EXPECT_EQ(o[2].values, (std::vector<float>{10, 3, 8, 2}));
    EXPECT_EQ(o[3].x, (std::vector<float>{0, 1}));
    EXPECT_EQ(o[3].y, (std::vector<float>{0, 0.5f}));
    EXPECT_EQ(o[5].kind, OpKind::Polygon);
    EXPECT_EQ(o[5].line, 7);
    EXPECT_EQ(o[5].x.size(), 3u);
    EXPECT_EQ(o[6].x2, (std::vector<float>{1, 1}));
    EXPECT_EQ(o[6].y2, (std::vector<float>{1, 0}));
    EXPECT_EQ(o[7].text, "say \"hi\" # not a comment");
    EXPECT_EQ(o[7].justification, 0.5f);
    EXPECT_EQ(o[8].values, (std::vector<float>{5, 7}));
    EXPECT_EQ(o[8].high, 6.0f);
    EXPECT_EQ(o[8].missing, -1.0f);
    EXPECT_EQ(o[9].text, "0 -1 1 150 1 0 8000 6000 laserjet 'lpr -P x' 'out.lj' '' 'a4'");
    EXPECT_EQ(o[10].text, "-1 -1 0 -1 -1 0 0 0 postscript '' 'my file.ps' '' ''");
    EXPECT_EQ(o[11].raw.substr(0, 1), "r");
    EXPECT_EQ(o[11].raw.size(), 17u);
    EXPECT_EQ(o[12].count, 2);
    EXPECT_EQ(o[12].text, "rec.dgf");
    EXPECT_EQ(o[13].count, 0);
    EXPECT_EQ(o[14].text, "\n");
    EXPECT_EQ(o[15].text, "10,20,32\n");
    EXPECT_EQ(o[17].count, 4);
    EXPECT_EQ(o[21].kind, OpKind::WrapUp);
}

TEST(SessionScript, MalformedLinesNameTheLineAndTheFault) {
    const Script s = parse_script(
        "init\n"
        "lines 0 0 1\n"
        "points 0 x\n"
        "set colr 3\n"
        "text 0 0 left unquoted extra\n"
        "image x 0 1 y 0 1 z 1 2 range 0 1\n"
        "image x 0 1 y 0 1 z 1\n"
        "polygon\n"
        "draw 1 2\n"
        "text 0 0 0 \"open\n"
        "print pdf\n"
        "lines 0 0 1 1\n");
    const std::vector<std::pair<int, std::string>> expected = {
        {2, "lines: 3 numbers, a multiple of 2 is needed"},
        {3, "points: 'x' is not a number"},
        {4, "set: 'colr' is not a parameter name or an entry number 1 to 200"},
        {5, "expected: text X Y JUSTIFICATION \"STRING\""},
        {6, "image: 1x1 cells need 1 z values, not 2"},
        {7, "image: range LOW HIGH is missing"},
        {8, "polygon: no points"},
        {9, "unknown operation 'draw'"},
        {10, "a quoted string is not closed"},
        {11, "expected: print postscript|laserjet [FILE] [options]"},
    };
    ASSERT_EQ(s.errors.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(s.errors[i].line, expected[i].first);
        EXPECT_EQ(s.errors[i].message, expected[i].second);
    }
    // The good lines around them are still read.
    ASSERT_EQ(s.operations.size(), 2u);
    EXPECT_EQ(s.operations[1].line, 12);
}

}  // namespace
