// The records of a display list: one typed record per kind of entry, each
// owning its data, held in one variant so that copy, release and replay
// go through one visit.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "core/spinplot.h"

namespace tgd {

// The few values a FloatArray keeps inside itself.
struct FloatsInside {
    static constexpr std::size_t kCapacity = 5;
    std::uint32_t n = 0;
    std::array<float, kCapacity> v{};
};

// The coordinates of a points record.  A frame is mostly many operations of
// a few points each: up to kInside values are kept inside the record, with
// no allocation of their own.  More values stay in the vector they were
// read into, which the record takes over without a copy.
class FloatArray {
public:
    static constexpr std::size_t kInside = FloatsInside::kCapacity;

    FloatArray() = default;
    FloatArray(std::vector<float>&& values) {  // NOLINT(google-explicit-constructor)
        if (values.size() <= kInside)
            assign_inside(values.data(), values.size());
        else
            store_ = std::move(values);
    }
    FloatArray(const float* values, std::size_t n) {
        if (n <= kInside)
            assign_inside(values, n);
        else
            store_ = std::vector<float>(values, values + n);
    }
    FloatArray(std::initializer_list<float> values) : FloatArray(values.begin(), values.size()) {}

    float* data() { return inside() ? std::get<Inside>(store_).v.data() : std::get<Outside>(store_).data(); }
    const float* data() const {
        return inside() ? std::get<Inside>(store_).v.data() : std::get<Outside>(store_).data();
    }
    std::size_t size() const { return inside() ? std::get<Inside>(store_).n : std::get<Outside>(store_).size(); }
    bool empty() const { return size() == 0; }
    float* begin() { return data(); }
    float* end() { return data() + size(); }
    const float* begin() const { return data(); }
    const float* end() const { return data() + size(); }
    float& operator[](std::size_t i) { return data()[i]; }
    const float& operator[](std::size_t i) const { return data()[i]; }

    // Equal values are equal wherever they are kept.
    friend bool operator==(const FloatArray& a, const FloatArray& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    using Inside = FloatsInside;
    using Outside = std::vector<float>;

    bool inside() const { return store_.index() == 0; }
    void assign_inside(const float* values, std::size_t n) {
        Inside in;
        in.n = static_cast<std::uint32_t>(n);
        if (n > 0) std::copy_n(values, n, in.v.begin());
        store_ = in;
    }

    std::variant<Inside, Outside> store_;
};

// Lines (1), polygon (2) and points (3): n points.
template <int Code>
struct PointsRecordOf {
    FloatArray x, y;
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

// A record held behind a pointer: segments, images, brushing and spinning
// records are large and rare, and every entry of a list is as large as its
// largest kind.  Copies are deep.
template <class T>
class Boxed {
public:
    Boxed() : p_(std::make_unique<T>()) {}
    Boxed(T value) : p_(std::make_unique<T>(std::move(value))) {}  // NOLINT(google-explicit-constructor)
    Boxed(const Boxed& other) : p_(std::make_unique<T>(*other.p_)) {}
    Boxed(Boxed&&) noexcept = default;
    Boxed& operator=(const Boxed& other) {
        if (this != &other) p_ = std::make_unique<T>(*other.p_);
        return *this;
    }
    Boxed& operator=(Boxed&&) noexcept = default;
    ~Boxed() = default;

    T& operator*() const { return *p_; }
    T* operator->() const { return p_.get(); }
    friend bool operator==(const Boxed& a, const Boxed& b) { return *a.p_ == *b.p_; }

private:
    std::unique_ptr<T> p_;
};

// The alternatives are in type-code order: index + 1 is the code.
using DisplayEntry =
    std::variant<LinesRecord, PolygonRecord, PointsRecord, Boxed<SegmentsRecord>, TextRecord, DiffRecord, InitRecord,
                 Boxed<BrushRecord>, Boxed<SpinRecord>, Boxed<ImageRecord>, UnknownRecord>;
// A points record, which most entries are, sets the size of every entry.
static_assert(sizeof(DisplayEntry) <= sizeof(LinesRecord) + alignof(DisplayEntry));

// Type code of an entry: 1 to 10, or the unknown entry's own code.
int entry_type(const DisplayEntry& entry);

// Entries in the order they were recorded.  They are kept in blocks, so that
// a growing list never moves (and never holds twice) the entries it has.
// Copying a list copies every entry deeply; destroying it releases
// everything the entries own.
using DisplayEntries = std::deque<DisplayEntry>;
struct DisplayList {
    DisplayEntries entries;
};

}  // namespace tgd
