// The printing-options text and the one save slot of the record.
#include <gtest/gtest.h>

#include "base/abandon.h"
#include "base/scope.h"
#include "harness/fd_capture.h"
#include "printer_fixture.h"
#include "settings/printer.h"

namespace tgdtest {
namespace {

using tgd::pparms;

class OptionsTest : public PrinterTest {};

TEST_F(OptionsTest, AllUnsetTokensChangeNothingButApply) {
    EXPECT_EQ(pparms("-1 -1 -1 -1 -1 0 0 0 '' '' '' '' ''"), 1);
    EXPECT_EQ(pp, tgd::PrinterParameters{});
}

TEST_F(OptionsTest, FullOptionsFillEveryField) {
    EXPECT_EQ(pparms("1 1 0 300 1 0 8500 11000 post 'lpr -Plw' out.ps '' letter"), 1);
    EXPECT_EQ(pp.horizontal, 1);
    EXPECT_EQ(pp.onefile, 1);
    EXPECT_EQ(pp.print, 0);
    EXPECT_EQ(pp.rasters, 300);
    EXPECT_EQ(pp.maximize, 1);
    EXPECT_FLOAT_EQ(pp.width, 8.5f);
    EXPECT_FLOAT_EQ(pp.height, 11.0f);
    EXPECT_EQ(pp.method, "postscript");
    EXPECT_EQ(pp.laserjet_command, "lpr -Plw");
    EXPECT_EQ(pp.postscript_command, "lpr -Plw");
    EXPECT_EQ(pp.file, "out.ps");
    EXPECT_EQ(pp.tempfile, "");
    EXPECT_EQ(pp.papername, "letter");
    EXPECT_EQ(pp.papersize, 2);
}

TEST_F(OptionsTest, FewerThanThirteenTokensAreIgnoredWhole) {
    EXPECT_EQ(pparms("1 1 0 300 1 0 8500 11000 post 'lpr -Plw' out.ps ''"), 0);
    EXPECT_EQ(pparms(""), 0);
    // An unclosed quote swallows the rest of the text as one token.
    EXPECT_EQ(pparms("1 1 0 300 1 0 8500 11000 post 'lpr -Plw out.ps '' letter"), 0);
    EXPECT_EQ(pp, tgd::PrinterParameters{});
}

TEST_F(OptionsTest, TokensAfterTheThirteenthAndAfterAZeroByteAreIgnored) {
    EXPECT_EQ(pparms("0 -1 -1 -1 -1 0 0 0 '' '' '' '' A4 extra tokens"), 1);
    EXPECT_EQ(pp.horizontal, 0);
    EXPECT_EQ(pp.papersize, 26);
    using namespace std::string_literals;
    EXPECT_EQ(pparms("1 -1 -1 -1 -1 0 0 0 '' '' '' ''\0 letter"s), 0);
    EXPECT_EQ(pp.horizontal, 0);
}

TEST_F(OptionsTest, QuotesOfEitherKindAndAnyWhiteSpaceSeparate) {
    EXPECT_EQ(pparms("-1\t-1\n-1\r-1\v-1\f0 0 0 \"laser\" \"lpr -P 'x'\" 'my file' \"\" 'commercial 10'"), 1);
    EXPECT_EQ(pp.method, "laserjet");
    EXPECT_EQ(pp.laserjet_command, "lpr -P 'x'");
    EXPECT_EQ(pp.file, "my file");
    EXPECT_EQ(pp.papername, "commercial 10");
    EXPECT_EQ(pp.papersize, 81);
}

TEST_F(OptionsTest, MethodNamesAreCanonicalOrKeptVerbatim) {
    for (const auto& [given, stored] : {std::pair{"X11", "X11_screendump"}, {"xyz", "xyz"}, {"LaserJet", "LaserJet"}}) {
        EXPECT_EQ(pparms(std::string("-1 -1 -1 -1 -1 0 0 0 ") + given + " '' '' '' ''"), 1);
        EXPECT_EQ(pp.method, stored);
    }
}

TEST_F(OptionsTest, UnknownPaperKeepsTheCodeButStoresTheName) {
    pp.papersize = 3;
    EXPECT_EQ(pparms("-1 -1 -1 -1 -1 0 0 0 '' '' '' '' b"), 1);
    EXPECT_EQ(pp.papername, "b");
    EXPECT_EQ(pp.papersize, 3);
}

TEST_F(OptionsTest, SizesMustBePositiveAndHugeNumbersAreClamped) {
    EXPECT_EQ(pparms("99999999999 -99999999999 abc 7 -1 0 -500 0 '' '' '' '' ''"), 1);
    EXPECT_EQ(pp.horizontal, 2147483647);
    EXPECT_EQ(pp.onefile, -2147483647 - 1);
    EXPECT_EQ(pp.print, 0);  // not a number reads as 0
    EXPECT_EQ(pp.rasters, 7);
    EXPECT_FLOAT_EQ(pp.width, -1.0f);
    EXPECT_FLOAT_EQ(pp.height, -1.0f);
}

TEST_F(OptionsTest, LongTextsAreCutToTheFieldSize) {
    const std::string long_text(300, 'f');
    EXPECT_EQ(pparms("-1 -1 -1 -1 -1 0 0 0 " + std::string(40, 'q') + " " + long_text + " " + long_text + " " +
                     long_text + " " + std::string(40, 'p')),
              1);
    EXPECT_EQ(pp.method, std::string(31, 'q'));
    EXPECT_EQ(pp.laserjet_command, std::string(127, 'f'));
    EXPECT_EQ(pp.postscript_command, std::string(127, 'f'));
    EXPECT_EQ(pp.file, std::string(127, 'f'));
    EXPECT_EQ(pp.tempfile, std::string(127, 'f'));
    EXPECT_EQ(pp.papername, std::string(31, 'p'));
}

TEST_F(OptionsTest, SaveSlotHoldsOneCopyAndAnAbandonedPrintRestores) {
    pp.rasters = 150;
    tgd::restore_pparms();
    EXPECT_EQ(pp.rasters, 150);
    try {
        tgd::save_pparms();
        const tgd::ScopeExit restore{[] { tgd::restore_pparms(); }};
        pp.rasters = 300;
        pp.method = "laserjet";
        tgd::zzabt_();  // an abandoned print still restores
    } catch (const tgd::OperationAbandoned&) {}
    EXPECT_EQ(pp.rasters, 150);
    EXPECT_EQ(pp.method, "");
    pp.rasters = 75;
    tgd::restore_pparms();  // the slot was emptied by the first restore
    EXPECT_EQ(pp.rasters, 75);
}

}  // namespace
}  // namespace tgdtest
