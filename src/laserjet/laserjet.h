// The LaserJet printer device.
#pragma once

namespace tgd {

// Replays the current frame into a LaserJet page raster written as a PCL
// file and finishes it; 1 when the whole list was replayed, 0 when the
// device refused to start.
int to_laserjet();

}  // namespace tgd
