// The print operation's options text: methods that cannot be printed are
// reported, and the options of one print do not outlive it.
#include <gtest/gtest.h>

#include <string>

#include "harness/host_ops.h"
#include "harness/tgd_process.h"

namespace {

using namespace tgdtest;

TEST(PrintingOptions, MethodNameInTheWrongCaseIsReportedAndNothingPrinted) {
    TgdProcess tgd;
    tgd.initialise();
    print(tgd, "-1 -1 -1 -1 -1 0 0 0 LaserJet '' '' '' ''");
    EXPECT_TRUE(tgd.wait_for_stderr("Cannot use printgraph method \"LaserJet\".\n"));
    EXPECT_EQ(tgd.finish(), 0);
}

TEST(PrintingOptions, OptionsOfOnePrintAreForgottenAfterIt) {
    Options options;
    options.env = {{"TX_PRINTGRAPH_METHOD", "X11_screendump"}};
    TgdProcess tgd(options);
    tgd.initialise();
    print(tgd, "1 1 0 300 1 0 8500 11000 xyz 'lpr' out.ps '' A4");
    ASSERT_TRUE(tgd.wait_for_stderr("Cannot use printgraph method \"xyz\".\n"));
    tgd.clear_stderr();
    // Twelve tokens are ignored as a whole: the method comes from the
    // environment again, not from the print before.
    print(tgd, "1 1 0 300 1 0 8500 11000 xyz 'lpr' out.ps ''");
    EXPECT_TRUE(tgd.wait_for_stderr("Cannot use printgraph method \"X11_screendump\".\n"));
    EXPECT_EQ(tgd.stderr_text().find("xyz"), std::string::npos);
    EXPECT_EQ(tgd.finish(), 0);
}

TEST(PrintingOptions, BadMethodVariableIsReportedWithItsValue) {
    Options options;
    options.env = {{"TX_PRINTGRAPH_METHOD", "lase"}};
    TgdProcess tgd(options);
    tgd.initialise();
    print(tgd, "-1 -1 -1 -1 -1 0 0 0 sun '' '' '' ''");
    EXPECT_TRUE(tgd.wait_for_stderr("Cannot use printgraph method \"sun_rasterfile\".\n"));
    // The variable is not read when the options name the method.
    EXPECT_EQ(tgd.stderr_text().find("TX_PRINTGRAPH_METHOD"), std::string::npos);
    EXPECT_EQ(tgd.finish(), 0);
}

}  // namespace
