// The PostScript printer device.
#pragma once

namespace tgd {

// Replays the current frame into a PostScript document and finishes it;
// 1 when the whole list was replayed, 0 when the device refused to start.
int to_postscript();

}  // namespace tgd
