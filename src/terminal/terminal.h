// The live graphics terminal: escape sequences on descriptor 2 and the
// locator read from standard input.
#pragma once

namespace tgd {

// Device description and state reset; sends the device reset.
void zparmz_(const float* par, int npar);

// Filled polygon through n vertices in user coordinates.
void zpolyz_(const float* x, const float* y, int n);

// New frame, forget remembered state, wrap up.
void zejecz_();
void zflshz_();
void zwrapz_();

// One locator position and key code (key < 0 when the reply did not parse).
void zquxyz_(int& ix, int& iy, int& key);

}  // namespace tgd
