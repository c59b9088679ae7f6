#include "settings/paper.h"

#include <array>

namespace tgd {

namespace {

struct Paper {
    int code;
    std::string_view name;  // the name given back for the code
};

constexpr std::array<Paper, 8> papers{{
    {1, "executive"},
    {2, "letter"},
    {3, "legal"},
    {26, "A4"},
    {80, "monarch"},
    {81, "com10"},
    {90, "DL"},
    {91, "C5"},
}};

// Accepted spellings after upper-casing ("LETTER" is read as "A").
struct Spelling {
    std::string_view name;
    int code;
};

constexpr std::array<Spelling, 12> spellings{{
    {"A", 2},
    {"A4", 26},
    {"C5", 91},
    {"DL", 90},
    {"LEGAL", 3},
    {"EXECUTIVE", 1},
    {"MONARCH", 80},
    {"COM10", 81},
    {"COMMERCIAL10", 81},
    {"COM-10", 81},
    {"COMMERCIAL 10", 81},
    {"LETTER", 2},
}};

}  // namespace

int paper_to_ljcode(std::string_view name, int& code) {
    // Only the first 19 characters count.
    std::string upper(name.substr(0, 19));
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const Spelling& s : spellings) {
        if (s.name == upper) {
            code = s.code;
            return 1;
        }
    }
    return 0;
}

int ljcode_to_paper(int code, std::string& name) {
    for (const Paper& p : papers) {
        if (p.code == code) {
            name = p.name;
            return 1;
        }
    }
    return 0;
}

}  // namespace tgd
