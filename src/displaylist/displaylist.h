// The display list: everything drawn on the current frame, kept so that
// the frame can be drawn again (refresh) or replayed into a printer.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "displaylist/spinplot.h"
#include "kernel/bgrp.h"

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
    int lv = 0;  // bytes of the variable labels
    int lp = 0;  // bytes of the point labels
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
using DisplayEntry = std::variant<LinesRecord, PolygonRecord, PointsRecord, SegmentsRecord, TextRecord,
                                  DiffRecord, InitRecord, BrushRecord, SpinRecord, ImageRecord,
                                  UnknownRecord>;

// Type code of an entry: 1 to 10, or the unknown entry's own code.
int entry_type(const DisplayEntry& entry);

// Entries in the order they were recorded.  Copying a list copies every
// entry deeply; destroying it releases everything the entries own.
struct DisplayList {
    std::vector<DisplayEntry> entries;
};

// The current frame's list: null until the first recording or eject.
extern std::unique_ptr<DisplayList> current_displaylist;
// Save area of bgrp_ for the collapse and the replays.
extern GraphicsParameters saved_bgrp;

// Recorders: each appends a copy of its arguments to the current list.
void dlinsz_(const float* x, const float* y, int n);
void dpolyz_(const float* x, const float* y, int n);
void dpntsz_(const float* x, const float* y, int n);
void dsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n);
void dtextz_(float x, float y, const char* text, int n, float justification);
void ddiffz_(const float* v, int n);
void dinitz_(const float* v, int n);
void dimagz_(const float* x, const float* y, const float* z, int nx, int ny, int nz, float a, float b,
             float c);

// Brushing and spinning: the new entry is returned, so that the device
// works on the entry's own copies.  The reference stays valid until the
// next entry is appended.
BrushRecord& dbrshz_(const float* data, int nr, int nc, int p, int q, int lv, int lp,
                     const int* label_offsets, const char* labels, const int* point_label_offsets,
                     const char* point_labels, const int* work, const int* flags, int count, int mode);
SpinRecord& dspinz_(const float* data, int nr, int nc, int lv, const int* label_offsets,
                    const char* labels, int option, const int* values, int mode);

// New frame: the list collapses into one init entry.
void dejecz_();

// Replaces the entries of list (a new list when null) by one init entry of
// 200 values: bgrp_ with the list's init and diff entries applied in order.
// bgrp_ itself is left as it was.
std::unique_ptr<DisplayList> collapse_displaylist(std::unique_ptr<DisplayList> list);

DisplayList* get_displaylist();
// Installs list as the current one and hands back the previous one.
std::unique_ptr<DisplayList> set_displaylist(std::unique_ptr<DisplayList> list);
// Releases every entry and the list; returns 0.
int delete_displaylist(std::unique_ptr<DisplayList> list);
// A deep copy; null when list is null or empty.  Copied brush and spin
// entries start with mode 0 (and spin option 0) and a copied plot state.
std::unique_ptr<DisplayList> copy_displaylist(const DisplayList* list);

// Redraw the current frame on the terminal ('d'); 1 when replayed.
int refresh_display();

// Refresh does nothing while can_refresh is 0; refreshing_now is set while
// it runs; brush and spin entries are redrawn only while redisplay_brush
// and redisplay_spin are set.
extern int can_refresh;
extern int refreshing_now;
extern int redisplay_brush;
extern int redisplay_spin;

}  // namespace tgd
