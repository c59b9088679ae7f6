// Paper names and the LaserJet page-size codes they stand for.
#pragma once

#include <string>
#include <string_view>

namespace tgd {

// 1 and the code when the name (any case, judged by its first 19
// characters) is a known paper, 0 with code untouched otherwise.
[[nodiscard]] int paper_to_ljcode(std::string_view name, int& code);

// 1 and the paper's name for a known code, 0 with name untouched otherwise.
[[nodiscard]] int ljcode_to_paper(int code, std::string& name);

}  // namespace tgd
