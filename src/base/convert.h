// Float-to-integer conversions of host values.  The host may send any
// float, so every conversion is defined for NaN, infinities and huge
// values: they are clamped to +-2^30 (far outside every device, yet small
// enough that the kernel's integer arithmetic cannot overflow).
#pragma once

#include <cmath>

namespace tgd {

inline constexpr int kIntLimit = 1 << 30;

// Truncation toward zero; NaN gives nan_value.
inline int to_int(double v, int nan_value = 0) {
    if (std::isnan(v)) return nan_value;
    if (v >= kIntLimit) return kIntLimit;
    if (v <= -kIntLimit) return -kIntLimit;
    return static_cast<int>(v);
}

// A float raster position handed to a device: plus 0.5, truncated toward
// zero.  NaN lies far outside the device, so it is out of bounds.
inline int raster(float v) { return to_int(v + 0.5f, -kIntLimit); }

}  // namespace tgd
