// Printing is not available yet: the options are accepted and nothing is
// printed.
#include "printer/printer.h"

namespace tgd {

void to_printer(std::string_view) {}

}  // namespace tgd
