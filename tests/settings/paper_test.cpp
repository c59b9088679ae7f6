#include <gtest/gtest.h>

#include "settings/paper.h"

namespace tgdtest {
namespace {

int code_of(std::string_view name) {
    int code = -7;
    return tgd::paper_to_ljcode(name, code) ? code : -7;
}

TEST(PaperTest, NamesInAnyCaseAndUnknownNames) {
    for (const char* name : {"letter", "Letter", "LETTER", "a"}) EXPECT_EQ(code_of(name), 2) << name;
    EXPECT_EQ(code_of("a4"), 26);
    EXPECT_EQ(code_of("Commercial 10"), 81);  // the blank counts
    for (const char* name : {"b", "", "COMMERCIAL-10", "letter ", "commercial 10       x"})
        EXPECT_EQ(code_of(name), -7) << name;  // the last is judged by its first 19 characters
}

TEST(PaperTest, CodesGiveBackNamesThatAreAcceptedAgain) {
    std::string name = "unchanged";
    EXPECT_EQ(tgd::ljcode_to_paper(-1, name), 0);
    EXPECT_EQ(tgd::ljcode_to_paper(4, name), 0);
    EXPECT_EQ(name, "unchanged");
    ASSERT_EQ(tgd::ljcode_to_paper(26, name), 1);
    EXPECT_EQ(name, "A4");
    for (int code : {1, 2, 3, 26, 80, 81, 90, 91}) {
        ASSERT_EQ(tgd::ljcode_to_paper(code, name), 1) << code;
        EXPECT_EQ(code_of(name), code) << name;
    }
}

}  // namespace
}  // namespace tgdtest
