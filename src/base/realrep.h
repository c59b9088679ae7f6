// How a real is written in decimal: its mantissa and power of ten, and the
// digits it needs.
#pragma once

namespace tgd {

// The relative precision assumed for a single float.
inline constexpr float real_precision = 5 * 1.2e-7f;

// x = mantissa * 10^exponent with 1 <= |mantissa| < 10 carrying the sign
// of x; both 0 for x = 0.
void zpowrz_(float x, float& mantissa, int& exponent);

// Digits before the point (0 when |x| < 1), significant digits needed (at
// most 7) and digits after the point that fixed notation then needs
// (negative when even the units digit is not significant).  Computed in
// single precision; for about 2% of values the count falls short of the
// stated precision, which the free-format encoder makes up for.
void zrrepz_(float x, int& nint, int& ndec, int& nsig);

}  // namespace tgd
