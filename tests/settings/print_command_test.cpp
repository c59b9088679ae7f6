#include <gtest/gtest.h>

#include "settings/print_command.h"

namespace {

using namespace tgd;

TEST(PrintCommand, FileNameStaysOneWordForTheShell) {
    EXPECT_EQ(shell_quote("out.ps"), "'out.ps'");
    EXPECT_EQ(shell_quote("a b;$(rm x)"), "'a b;$(rm x)'");
    EXPECT_EQ(shell_quote("it's"), "'it'\\''s'");
    EXPECT_EQ(print_command_line("lpr -Plw", "my file.ps"), "lpr -Plw 'my file.ps' &");
    // A name that would read as an option is given as a path.
    EXPECT_EQ(print_command_line("lpr -h -r", "-rf"), "lpr -h -r './-rf' &");
    EXPECT_EQ(print_command_line("lpr", "/tmp/-x"), "lpr '/tmp/-x' &");
}

}  // namespace
