// The one segment clipper, shared by the kernel, the terminal's polygon
// and the printer devices.
#pragma once

namespace tgd {

// Clips the segment (x[0], y[0])-(x[1], y[1]) against the window spanned
// by xlim and ylim (bounds in either order).  status: -1 nothing to draw,
// 0 unchanged, > 0 the number of endpoint replacements.
void lclipz_(const float x[2], const float y[2], const float xlim[2], const float ylim[2], float xout[2], float yout[2],
             int& status);

}  // namespace tgd
