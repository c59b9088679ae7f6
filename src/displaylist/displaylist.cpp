// Recording the current frame, collapsing it at a new frame, and copying
// and releasing whole lists.
#include "displaylist/displaylist.h"

#include <algorithm>
#include <utility>

#include "base/messages.h"
#include "base/process_state.h"
#include "core/bgrp.h"
#include "core/replay.h"

namespace tgd {

std::unique_ptr<DisplayList> current_displaylist;

namespace {
const StateReset reset_state{[] { current_displaylist.reset(); }};
}  // namespace

namespace {

// A copy of n values at p; counts below 1 give an empty block.
template <class T>
std::vector<T> copy_of(const T* p, long long n) {
    if (n <= 0) return {};
    if (p == nullptr) return std::vector<T>(static_cast<std::size_t>(n));
    return std::vector<T>(p, p + n);
}

std::string bytes_of(const char* p, int n) {
    if (n <= 0) return {};
    if (p == nullptr) return std::string(static_cast<std::size_t>(n), '\0');
    return std::string(p, static_cast<std::size_t>(n));
}

long long cells(int nr, int nc) { return nr > 0 && nc > 0 ? static_cast<long long>(nr) * nc : 0; }

// The entries of the current list, creating the list when there is none.
DisplayEntries& current_entries() {
    if (!current_displaylist) current_displaylist = std::make_unique<DisplayList>();
    return current_displaylist->entries;
}

template <class Record>
Record& append_entry(Record record) {
    return std::get<Record>(current_entries().emplace_back(std::move(record)));
}

template <int Code>
void record_points(const float* x, const float* y, int n) {
    append_entry(PointsRecordOf<Code>{copy_of(x, n), copy_of(y, n)});
}

// Releases one entry.  Entries own all they hold, so only an entry of an
// unknown kind is worth a word.
void freeentry(DisplayEntry&& entry) {
    DisplayEntry released = std::move(entry);
    if (const auto* unknown = std::get_if<UnknownRecord>(&released)) {
        dmprog_(dmformat("Unkown type in freeentry (%d).", unknown->type));
    }
}

// A copied plot keeps the view's state but not the last working value.
SpinPlot copied_plot(const SpinPlot& plot) {
    SpinPlot copy = plot;
    copy.state4 = 0;
    return copy;
}

DisplayEntry copy_entry(const DisplayEntry& entry) {
    if (const auto* unknown = std::get_if<UnknownRecord>(&entry)) {
        dmprog_("Unknown type in copy_displaylist.");
        return *unknown;
    }
    DisplayEntry copy = entry;
    if (auto* brush = std::get_if<Boxed<BrushRecord>>(&copy)) {
        (*brush)->mode = 0;
        (*brush)->plot = copied_plot((*brush)->plot);
    } else if (auto* spin = std::get_if<Boxed<SpinRecord>>(&copy)) {
        (*spin)->option = 0;
        (*spin)->mode = 0;
        (*spin)->plot = copied_plot((*spin)->plot);
    }
    return copy;
}

}  // namespace

void dlinsz_(const float* x, const float* y, int n) { record_points<1>(x, y, n); }
void dpolyz_(const float* x, const float* y, int n) { record_points<2>(x, y, n); }
void dpntsz_(const float* x, const float* y, int n) { record_points<3>(x, y, n); }

void take_entry(DisplayEntry&& entry) { current_entries().push_back(std::move(entry)); }

void dsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n) {
    append_entry(Boxed<SegmentsRecord>(SegmentsRecord{copy_of(x1, n), copy_of(y1, n), copy_of(x2, n), copy_of(y2, n)}));
}

void dtextz_(float x, float y, const char* text, int n, float justification) {
    append_entry(TextRecord{x, y, bytes_of(text, n), justification});
}

void ddiffz_(const float* v, int n) { append_entry(DiffRecord{copy_of(v, n)}); }
void dinitz_(const float* v, int n) { append_entry(InitRecord{copy_of(v, n)}); }

void dimagz_(const float* x, const float* y, const float* z, int nx, int ny, int nz, float a, float b, float c) {
    append_entry(Boxed<ImageRecord>(ImageRecord{copy_of(x, nx), copy_of(y, ny), copy_of(z, nz), a, b, c}));
}

BrushRecord& dbrshz_(const float* data, int nr, int nc, int p, int q, int lv, int lp, const int* label_offsets,
                     const char* labels, const int* point_label_offsets, const char* point_labels, const int* work,
                     const int* flags, int count, int mode) {
    BrushRecord r;
    r.data = copy_of(data, cells(nr, nc));
    r.nr = nr;
    r.nc = nc;
    r.p = p;
    r.q = q;
    r.lv = lv;
    r.lp = lp;
    r.label_offsets = copy_of(label_offsets, nc);
    r.labels = bytes_of(labels, lv);
    r.point_label_offsets = copy_of(point_label_offsets, nr);
    r.point_labels = bytes_of(point_labels, lp);
    r.work = copy_of(work, nr);
    r.zero.assign(static_cast<std::size_t>(std::max(nr, 0)), 0);
    r.count = count;
    r.flags = copy_of(flags, nr);
    r.mode = mode;
    dspinplot(r.plot, nr, nc);
    return *append_entry(Boxed<BrushRecord>(std::move(r)));
}

SpinRecord& dspinz_(const float* data, int nr, int nc, int lv, const int* label_offsets, const char* labels, int option,
                    const int* values, int mode) {
    SpinRecord r;
    r.data = copy_of(data, cells(nr, nc));
    r.nr = nr;
    r.nc = nc;
    r.lv = lv;
    r.label_offsets = copy_of(label_offsets, nc);
    r.labels = bytes_of(labels, lv);
    r.values = copy_of(values, nr);
    r.option = option;
    r.mode = mode;
    dspinplot(r.plot, nr, nc);
    return *append_entry(Boxed<SpinRecord>(std::move(r)));
}

std::unique_ptr<DisplayList> collapse_displaylist(std::unique_ptr<DisplayList> list) {
    if (!list) list = std::make_unique<DisplayList>();
    BgrpSave save;
    DisplayEntries old = std::exchange(list->entries, {});
    for (DisplayEntry& entry : old) {
        if (const auto* diff = std::get_if<DiffRecord>(&entry)) {
            amdiff_(diff->v.data(), diff->n());
            silence_error_reports();
        } else if (const auto* init = std::get_if<InitRecord>(&entry)) {
            load_init(*init);
        }
        freeentry(std::move(entry));
    }
    list->entries.emplace_back(InitRecord{std::vector<float>(bgrp_.v.begin(), bgrp_.v.end())});
    return list;
}

void dejecz_() { current_displaylist = collapse_displaylist(std::move(current_displaylist)); }

DisplayList* get_displaylist() { return current_displaylist.get(); }

std::unique_ptr<DisplayList> set_displaylist(std::unique_ptr<DisplayList> list) {
    return std::exchange(current_displaylist, std::move(list));
}

int delete_displaylist(std::unique_ptr<DisplayList> list) {
    if (list) {
        for (DisplayEntry& entry : list->entries) freeentry(std::move(entry));
    }
    return 0;
}

std::unique_ptr<DisplayList> copy_displaylist(const DisplayList* list) {
    if (list == nullptr || list->entries.empty()) return nullptr;
    auto copy = std::make_unique<DisplayList>();
    for (const DisplayEntry& entry : list->entries) copy->entries.push_back(copy_entry(entry));
    return copy;
}

}  // namespace tgd
