// Accessors with their fallbacks, the environment checks and the dump.
#include <gtest/gtest.h>

#include "settings/printer.h"
#include "printer_fixture.h"
#include "harness/fd_capture.h"

namespace tgdtest {
namespace {

using namespace tgd;
using tgd::test::FdCapture;

class AccessorsTest : public PrinterTest {};

TEST_F(AccessorsTest, OrientationFromFieldPostScriptOptionsEnvironmentOrLandscape) {
    EXPECT_EQ(PrGetLandscapeMode(), 1);
    set_env("TX_PRINT_ORIENTATION", "portrait");
    EXPECT_EQ(PrGetLandscapeMode(), 0);
    ps_par.landscape = 1;
    pp.method = "postscript";
    EXPECT_EQ(PrGetLandscapeMode(), 1);  // the host's PostScript option comes before the environment
    EXPECT_EQ(PrSetLandscapeFlag(-2), 0);
    EXPECT_EQ(pp.horizontal, -1);
    EXPECT_EQ(PrSetPortraitMode(), 1);
    EXPECT_EQ(PrGetLandscapeMode(), 0);
}

TEST_F(AccessorsTest, OrientationVariableIsCaseSensitive) {
    set_env("TX_PRINT_ORIENTATION", "lands");
    EXPECT_EQ(env_horizontal(), 1);
    set_env("TX_PRINT_ORIENTATION", "Landscape");
    FdCapture err;
    EXPECT_EQ(env_horizontal(), -1);
    EXPECT_EQ(err.text(),
              "Environment variable TX_PRINT_ORIENTATION is set to \"Landscape\".  It should be set to either "
              "\"landscape\" or \"portrait\".\n");
}

TEST_F(AccessorsTest, ResolutionVariableNeedsAnExactValue) {
    EXPECT_EQ(env_laserjet_dpi(), -1);
    EXPECT_EQ(PrGetRasters(), 75);
    set_env("TX_LASERJET_DPI", "150");
    EXPECT_EQ(PrGetRasters(), 150);
    set_env("TX_LASERJET_DPI", "300dpi");
    FdCapture err;
    EXPECT_EQ(PrGetRasters(), 75);
    EXPECT_EQ(err.text(),
              "Environment variable TX_LASERJET_DPI is set to \"300dpi\".  It should be set to \"75\", \"100\", "
              "\"150\", or \"300\".\n");
}

TEST_F(AccessorsTest, RastersComeFromPostScriptOptionsForPostScript) {
    set_env("TX_LASERJET_DPI", "100");
    pp.method = "postscript";
    EXPECT_EQ(PrGetRasters(), 300);
    EXPECT_EQ(PrSetRasters(200), 0);
    EXPECT_EQ(pp.rasters, -1);
    EXPECT_EQ(PrSetRasters(150), 1);
    EXPECT_EQ(PrGetRasters(), 150);
    EXPECT_EQ(PrSetRasters(-1), 1);
    EXPECT_EQ(pp.rasters, -1);
}

TEST_F(AccessorsTest, OnefileVariable) {
    set_env("TX_PRINTGRAPH_ONEFILE", "yes");
    EXPECT_EQ(env_onefile(), 1);
    set_env("TX_PRINTGRAPH_ONEFILE", "no");
    EXPECT_EQ(env_onefile(), 0);
    set_env("TX_PRINTGRAPH_ONEFILE", "");
    FdCapture err;
    EXPECT_EQ(env_onefile(), -1);
    EXPECT_EQ(err.text(),
              "Environment variable TX_PRINTGRAPH_ONEFILE is set to \"\".  It should be set to either \"yes\" or "
              "\"no\".\n");
}

TEST_F(AccessorsTest, MethodVariableMatchesFiveCharacters) {
    EXPECT_EQ(env_method(), std::nullopt);
    set_env("TX_PRINTGRAPH_METHOD", "laser");
    EXPECT_EQ(env_method(), "laserjet");
    set_env("TX_PRINTGRAPH_METHOD", "posts");
    EXPECT_EQ(env_method(), "postscript");
    set_env("TX_PRINTGRAPH_METHOD", "X11_s");
    EXPECT_EQ(env_method(), "X11_screendump");
    set_env("TX_PRINTGRAPH_METHOD", "las");
    FdCapture err;
    EXPECT_EQ(env_method(), std::nullopt);
    EXPECT_EQ(err.text(),
              "Environment variable TX_PRINTGRAPH_METHOD is set to \"las\".  It should be set to \"postscript\", "
              "\"laserjet\" or \"sun_rasterfile\".\n");
}

TEST_F(AccessorsTest, MethodGetterFillsAnEmptyMethod) {
    EXPECT_EQ(PrGetMethod(), "postscript");
    EXPECT_EQ(pp.method, "postscript");
    pp.method.clear();
    set_env("TX_PRINTGRAPH_METHOD", "laserjet");
    EXPECT_EQ(PrGetMethod(), "laserjet");
    EXPECT_EQ(PrGetPrinterType(), "laserjet");
    EXPECT_EQ(PrSetMethod("sunny"), 1);
    EXPECT_EQ(PrGetPrinterType(), std::nullopt);
    EXPECT_EQ(PrSetMethod("la"), 0);
    EXPECT_EQ(pp.method, "sun_rasterfile");
    EXPECT_EQ(PrSetMethod(""), 1);
    EXPECT_EQ(pp.method, "");
}

TEST_F(AccessorsTest, LaserJetCommandFallsBackToEnvironmentThenLpr) {
    EXPECT_EQ(PrGetLaserJetCommand(), "lpr -h -r");
    set_env("TX_LASERJET_PRINT_COMMAND", "");
    EXPECT_EQ(PrGetLaserJetCommand(), "lpr -h -r");
    set_env("TX_LASERJET_PRINT_COMMAND", "lp -dhp");
    EXPECT_EQ(PrGetLaserJetCommand(), "lp -dhp");
    EXPECT_EQ(PrSetLaserJetCommand(std::nullopt), 0);
    EXPECT_EQ(PrSetLaserJetCommand("lpr -Plj"), 1);
    EXPECT_EQ(PrGetLaserJetCommand(), "lpr -Plj");
    EXPECT_EQ(pp.postscript_command, "");
}

TEST_F(AccessorsTest, PostScriptTextsFallBackToHostOptionsOnlyForPostScript) {
    using namespace std::string_literals;
    ps_par.print_command = "lpr -Pps\0"s;  // the host may count the terminator
    ps_par.has_print_command = true;
    ps_par.outfile = "fig.###.ps";
    EXPECT_EQ(PrGetPostScriptCommand(), "");
    EXPECT_EQ(PrGetOutputTempfilename(), "");
    pp.method = "postscript";
    EXPECT_EQ(PrGetPostScriptCommand(), "lpr -Pps");
    EXPECT_EQ(PrGetOutputTempfilename(), "fig.###.ps");
    EXPECT_EQ(PrSetCommand("lpr -Pother"), 1);
    EXPECT_EQ(PrSetOutputTempfilename("t.####"), 1);
    EXPECT_EQ(PrGetPostScriptCommand(), "lpr -Pother");
    EXPECT_EQ(PrGetOutputTempfilename(), "t.####");
    EXPECT_EQ(PrSetOutputFilename(std::nullopt), 0);
    EXPECT_EQ(PrGetOutputFilename(), "");
}

TEST_F(AccessorsTest, FlagsFallBackToPostScriptOptionsOnlyForPostScript) {
    ps_par.onefile = 1;
    EXPECT_EQ(PrGetOnefile(), -1);
    pp.method = "postscript";
    EXPECT_EQ(PrGetOnefile(), 1);
    EXPECT_EQ(PrSetOnefileFlag(-5), 0);
    EXPECT_EQ(PrSetTempOutputFiles(), 1);
    EXPECT_EQ(PrGetOnefile(), 0);
}

TEST_F(AccessorsTest, PapersizeByNameLeavesPapernameAlone) {
    EXPECT_EQ(PrGetPapersize(), "");
    EXPECT_EQ(PrSetPapersize("a4"), 1);
    EXPECT_EQ(PrGetPapersize(), "A4");
    EXPECT_EQ(pp.papername, "");
    EXPECT_EQ(PrSetPapersize("b"), 0);
    EXPECT_EQ(pp.papersize, 26);
}

TEST_F(AccessorsTest, DumpShowsTheCompletedValues) {
    ASSERT_EQ(pparms("0 -1 1 -1 -1 0 8500 0 laser '' out.lj '' Legal"), 1);
    FdCapture err;
    print_pparms();
    EXPECT_EQ(err.text(),
              "method = laserjet file = out.lj tempfile = \n"
              "laserjet command = lpr -h -r\n"
              "postscript command = \n"
              "horizontal = 0 onefile = -1 print = 1\n"
              "rasters = 75 papersize = legal maximize = -1 font = -1\n"
              "eject_op = 0 do_printgraph = 1\n"
              "papername = Legal\n"
              "width = 8.5; height = -1\n"
              "\n");
}

}  // namespace
}  // namespace tgdtest
