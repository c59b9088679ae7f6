// Placeholder until the LaserJet device is built.
#include "laserjet/laserjet.h"

namespace tgd {

int to_laserjet() { return 0; }

}  // namespace tgd
