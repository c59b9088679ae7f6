// The display list: everything drawn on the current frame, kept so that
// the frame can be drawn again (refresh) or replayed into a printer.
#pragma once

#include <memory>

#include "core/records.h"

namespace tgd {

// The current frame's list: null until the first recording or eject.
extern std::unique_ptr<DisplayList> current_displaylist;

// Recorders: each appends a copy of its arguments to the current list.
void dlinsz_(const float* x, const float* y, int n);
void dpolyz_(const float* x, const float* y, int n);
void dpntsz_(const float* x, const float* y, int n);
void dsegsz_(const float* x1, const float* y1, const float* x2, const float* y2, int n);
void dtextz_(float x, float y, const char* text, int n, float justification);
void ddiffz_(const float* v, int n);
void dinitz_(const float* v, int n);
void dimagz_(const float* x, const float* y, const float* z, int nx, int ny, int nz, float a, float b, float c);

// Appends an entry built by the caller, taking over what it owns.
void take_entry(DisplayEntry&& entry);

// Brushing and spinning: the new entry is returned, so that the device
// works on the entry's own copies.  The reference stays valid until the
// next entry is appended.
BrushRecord& dbrshz_(const float* data, int nr, int nc, int p, int q, int lv, int lp, const int* label_offsets,
                     const char* labels, const int* point_label_offsets, const char* point_labels, const int* work,
                     const int* flags, int count, int mode);
SpinRecord& dspinz_(const float* data, int nr, int nc, int lv, const int* label_offsets, const char* labels, int option,
                    const int* values, int mode);

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

}  // namespace tgd
