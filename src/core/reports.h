// The kernel's error and out-of-bounds reports, made by the kernel and
// the devices alike: lines printed on descriptor 2, silent while
// error_reports is negative.
#pragma once

#include <string_view>

namespace tgd {

void zerrpz_(std::string_view routine, std::string_view message);
void zobdsz_(std::string_view label, float x, float y);
void ztobdz_(const char* text, int n, float x, float y);

}  // namespace tgd
