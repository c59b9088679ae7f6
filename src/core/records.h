// The records of a display list: one typed record per kind of entry, each
// owning its data, held in one variant so that copy, release and replay
// go through one visit.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "core/spinplot.h"

namespace tgd {

// Lines (1), polygon (2) and points (3): n points.
template <int Code>
struct PointsRecordOf {
    std::vector<float> x, y;
    int n() const { return static_cast<int>(x.size()); }
    friend bool operator==(const PointsRecordOf&, const PointsRecordOf&) = default;
};
using LinesRecord = PointsRecordOf<1>;
using PolygonRecord = PointsRecordOf<2>;
using PointsRecord = PointsRecordOf<3>;

struct SegmentsRecord {  // 4
    std::vector<float> x1, y1, x2, y2;
    int n() const { return static_cast<int>(x1.size()); }
    friend bool operator==(const SegmentsRecord&, const SegmentsRecord&) = default;
};

struct TextRecord {  // 5
    float x = 0, y = 0;
    std::string text;  // the n bytes as sent; c_str() adds the terminator
    float justification = 0;
    int n() const { return static_cast<int>(text.size()); }
    friend bool operator==(const TextRecord&, const TextRecord&) = default;
};

// A parameter-change vector (6) or a copy of bgrp_(1..n) (7).
template <int Code>
struct ValuesRecordOf {
    std::vector<float> v;
    int n() const { return static_cast<int>(v.size()); }
    friend bool operator==(const ValuesRecordOf&, const ValuesRecordOf&) = default;
};
using DiffRecord = ValuesRecordOf<6>;
using InitRecord = ValuesRecordOf<7>;

// Brushing (8): what the command loop hands to the device and reads back.
struct BrushRecord {
    std::vector<float> data;  // nr*nc values
    int nr = 0;               // points
    int nc = 0;               // variables
    int p = 0, q = 0;
    int lv = 0;                            // bytes of the variable labels
    int lp = 0;                            // bytes of the point labels
    std::vector<int> label_offsets;        // nc
    std::string labels;                    // lv bytes
    std::vector<int> point_label_offsets;  // nr
    std::string point_labels;              // lp bytes
    std::vector<int> work;                 // nr, as the caller passed it
    std::vector<int> zero;                 // nr, zero
    int count = 0;                         // points selected
    std::vector<int> flags;                // nr: non-zero for a selected point
    int mode = 0;                          // 1 live, 2 redisplay, 0 a copy
    SpinPlot plot;
    friend bool operator==(const BrushRecord&, const BrushRecord&) = default;
};

// Spinning (9).
struct SpinRecord {
    std::vector<float> data;  // nr*nc values
    int nr = 0;
    int nc = 0;
    int lv = 0;
    std::vector<int> label_offsets;  // nc
    std::string labels;              // lv bytes
    std::vector<int> values;         // nr, as the host sent them
    int option = 0;                  // the option byte, sign-extended
    int mode = 0;
    SpinPlot plot;
    friend bool operator==(const SpinRecord&, const SpinRecord&) = default;
};

struct ImageRecord {  // 10
    std::vector<float> x, y, z;
    float a = 0, b = 0, c = 0;
    friend bool operator==(const ImageRecord&, const ImageRecord&) = default;
};

// An entry whose type code is none of the above; it carries only its code.
struct UnknownRecord {
    int type = 0;
    friend bool operator==(const UnknownRecord&, const UnknownRecord&) = default;
};

// The alternatives are in type-code order: index + 1 is the code.
using DisplayEntry = std::variant<LinesRecord, PolygonRecord, PointsRecord, SegmentsRecord, TextRecord, DiffRecord,
                                  InitRecord, BrushRecord, SpinRecord, ImageRecord, UnknownRecord>;

// Type code of an entry: 1 to 10, or the unknown entry's own code.
int entry_type(const DisplayEntry& entry);

// Entries in the order they were recorded.  Copying a list copies every
// entry deeply; destroying it releases everything the entries own.
struct DisplayList {
    std::vector<DisplayEntry> entries;
};

}  // namespace tgd
