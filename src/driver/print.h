// Printing: the current frame replayed into the printer device that the
// print method names.
#pragma once

#include <string_view>

#include "core/replay.h"

namespace tgd {

// Print the current frame with the options text of the print operation.
// The options hold for this print only.
void to_printer(std::string_view options);

// A printing replay of the current list into device, started with the
// parameters in force when the list has no init entry; dims the display
// around it.  1 when the whole list was replayed and the output finished,
// 0 when the device refused to start.
[[nodiscard]] int print_displaylist(ReplayDevice& device);

// The current frame printed by the PostScript or the LaserJet device
// (print_displaylist into it).
int to_postscript();
int to_laserjet();

}  // namespace tgd
