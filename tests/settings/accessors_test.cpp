// Accessors with their fallbacks, the environment checks and the dump.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/fd_capture.h"
#include "printer_fixture.h"
#include "settings/printer.h"

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

// Each variable read unset, with the values it accepts and with one it
// refuses; only a refused value is complained about.
TEST_F(AccessorsTest, EnvironmentVariablesAcceptOnlyTheirValues) {
    struct Case {
        const char* variable;
        const char* value;  // nullptr: unset
        std::string (*read)();
        std::string expected, complaint;
    };
    const auto horizontal = [] { return std::to_string(env_horizontal()); };
    const auto dpi = [] { return std::to_string(env_laserjet_dpi()); };
    const auto rasters = [] { return std::to_string(PrGetRasters()); };
    const auto onefile = [] { return std::to_string(env_onefile()); };
    const auto method = [] { return env_method().value_or("(none)"); };
    const std::string is_set = "Environment variable ";
    const std::vector<Case> cases = {
        {"TX_PRINT_ORIENTATION", "lands", horizontal, "1", ""},
        {"TX_PRINT_ORIENTATION", "Landscape", horizontal, "-1",
         is_set + "TX_PRINT_ORIENTATION is set to \"Landscape\".  It should be set to either \"landscape\" or "
                  "\"portrait\".\n"},
        {"TX_LASERJET_DPI", nullptr, dpi, "-1", ""},
        {"TX_LASERJET_DPI", nullptr, rasters, "75", ""},
        {"TX_LASERJET_DPI", "150", rasters, "150", ""},
        {"TX_LASERJET_DPI", "300dpi", rasters, "75",
         is_set + "TX_LASERJET_DPI is set to \"300dpi\".  It should be set to \"75\", \"100\", \"150\", or "
                  "\"300\".\n"},
        {"TX_PRINTGRAPH_ONEFILE", "yes", onefile, "1", ""},
        {"TX_PRINTGRAPH_ONEFILE", "no", onefile, "0", ""},
        {"TX_PRINTGRAPH_ONEFILE", "", onefile, "-1",
         is_set + "TX_PRINTGRAPH_ONEFILE is set to \"\".  It should be set to either \"yes\" or \"no\".\n"},
        {"TX_PRINTGRAPH_METHOD", nullptr, method, "(none)", ""},
        {"TX_PRINTGRAPH_METHOD", "laser", method, "laserjet", ""},
        {"TX_PRINTGRAPH_METHOD", "posts", method, "postscript", ""},
        {"TX_PRINTGRAPH_METHOD", "X11_s", method, "X11_screendump", ""},
        {"TX_PRINTGRAPH_METHOD", "las", method, "(none)",
         is_set + "TX_PRINTGRAPH_METHOD is set to \"las\".  It should be set to \"postscript\", \"laserjet\" or "
                  "\"sun_rasterfile\".\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.variable << "=" << (c.value ? c.value : "(unset)"));
        if (c.value)
            set_env(c.variable, c.value);
        else
            ::unsetenv(c.variable);
        FdCapture err;
        EXPECT_EQ(c.read(), c.expected);
        EXPECT_EQ(err.text(), c.complaint);
    }
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
