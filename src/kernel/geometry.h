// Small computations shared by the kernel's drawing routines.
#pragma once

#include "core/bgrp.h"

namespace tgd {

// Degrees to radians, as the kernel has always converted them.
inline constexpr float kRadiansPerDegree = 0.0174533f;

// Offset in rasters from a character's cell centre to its reference point,
// with the cell expanded by char_expansion and turned by char_angle.
void cell_offset(float& ox, float& oy);

}  // namespace tgd
