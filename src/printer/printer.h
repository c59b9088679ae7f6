// Printing the current frame.
#pragma once

#include <string_view>

namespace tgd {

// Print the current frame with the options text of the print operation.
void to_printer(std::string_view options);

}  // namespace tgd
