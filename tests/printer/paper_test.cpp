#include <gtest/gtest.h>

#include "printer/paper.h"

namespace tgdtest {
namespace {

int code_of(std::string_view name) {
    int code = -7;
    return tgd::paper_to_ljcode(name, code) ? code : -7;
}

TEST(PaperTest, NamesInAnyCase) {
    for (const char* name : {"letter", "Letter", "LETTER", "a", "A"}) EXPECT_EQ(code_of(name), 2) << name;
    EXPECT_EQ(code_of("executive"), 1);
    EXPECT_EQ(code_of("legal"), 3);
    EXPECT_EQ(code_of("a4"), 26);
    EXPECT_EQ(code_of("monarch"), 80);
    EXPECT_EQ(code_of("dl"), 90);
    EXPECT_EQ(code_of("c5"), 91);
    for (const char* name : {"com10", "Commercial10", "COM-10", "Commercial 10"}) EXPECT_EQ(code_of(name), 81) << name;
}

TEST(PaperTest, UnknownNamesLeaveTheCode) {
    for (const char* name : {"b", "", "A5", "COMMERCIAL-10", "lettera", "letter "}) EXPECT_EQ(code_of(name), -7) << name;
    // Only the first 19 characters count.
    EXPECT_EQ(code_of("commercial 10       x"), -7);
}

TEST(PaperTest, CodesGiveBackTheirNames) {
    std::string name = "unchanged";
    EXPECT_EQ(tgd::ljcode_to_paper(-1, name), 0);
    EXPECT_EQ(tgd::ljcode_to_paper(4, name), 0);
    EXPECT_EQ(name, "unchanged");
    const std::pair<int, const char*> table[] = {{1, "executive"}, {2, "letter"}, {3, "legal"}, {26, "A4"},
                                                 {80, "monarch"},  {81, "com10"},  {90, "DL"},   {91, "C5"}};
    for (auto [code, expected] : table) {
        ASSERT_EQ(tgd::ljcode_to_paper(code, name), 1);
        EXPECT_EQ(name, expected);
        EXPECT_EQ(code_of(name), code);  // every name given back is accepted again
    }
}

}  // namespace
}  // namespace tgdtest
