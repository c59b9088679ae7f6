// The print operation: the method chooses the printer device; the options
// hold for this print only.
#include <gtest/gtest.h>

#include "driver/print.h"
#include "harness/fd_capture.h"
#include "settings/printer_fixture.h"

namespace tgdtest {
namespace {

class PrintTest : public PrinterTest {};

TEST_F(PrintTest, PrintWithAnUnusableMethodReportsAndRestores) {
    pp.file = "kept.ps";
    pp.horizontal = 0;
    const tgd::PrinterParameters before = pp;
    tgd::test::FdCapture err;
    tgd::to_printer("1 1 0 300 1 0 8500 11000 LaserJet 'lpr' new.ps '' A4");
    EXPECT_EQ(err.text(), "Cannot use printgraph method \"LaserJet\".\n");
    EXPECT_EQ(pp, before);
}

TEST_F(PrintTest, PrintTakesTheMethodFromTheEnvironmentOnlyWhenUnset) {
    set_env("TX_PRINTGRAPH_METHOD", "sun_r");
    {
        tgd::test::FdCapture err;
        tgd::to_printer("-1 -1 -1 -1 -1 0 0 0 '' '' '' '' ''");
        EXPECT_EQ(err.text(), "Cannot use printgraph method \"sun_rasterfile\".\n");
    }
    {
        tgd::test::FdCapture err;
        tgd::to_printer("-1 -1 -1 -1 -1 0 0 0 X10 '' '' '' ''");
        EXPECT_EQ(err.text(), "Cannot use printgraph method \"X10_screendump\".\n");
    }
    EXPECT_EQ(pp.method, "");
}

}  // namespace
}  // namespace tgdtest
