// Small computations shared by the kernel's drawing routines.
#pragma once

#include "core/bgrp.h"

namespace tgd {

// Degrees to radians, as the kernel has always converted them.
inline constexpr float kRadiansPerDegree = 0.0174533f;

// Offset in rasters from a character's cell centre to its reference point,
// with the cell expanded by char_expansion and turned by char_angle.
void cell_offset(float& ox, float& oy);

// Puts a parameter entry back however the drawing ends (the entries a
// primitive changes only for its own duration: line_type, color).
class EntryKept {
public:
    explicit EntryKept(int entry) : entry_(entry), saved_(bgrp_(entry)) {}
    ~EntryKept() { bgrp_(entry_) = saved_; }
    EntryKept(const EntryKept&) = delete;
    EntryKept& operator=(const EntryKept&) = delete;

private:
    int entry_;
    float saved_;
};

}  // namespace tgd
