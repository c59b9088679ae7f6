#include "driver/device_hooks.h"

#include <cstdio>

#include "base/messages.h"
#include "base/process_state.h"
#include "core/live_device.h"
#include "displaylist/displaylist.h"
#include "driver/print.h"

namespace tgd {

namespace {
int warned_interrupt = 1;  // the warning of zquxyznw_ is still to be given

const StateReset reset_state{[] { warned_interrupt = 1; }};
}  // namespace

void zquxyznw_(int& ix, int& iy, int& key) {
    if (warned_interrupt) {
        warned_interrupt = 0;
        dmstat_("Graphical input must be interrupt driven on this device.");
    }
    live_device().locate(ix, iy, key);
}

void zsmodz_(char) {}

void zhookz_(int type, int*, int, int*, int) {
    std::fprintf(stderr, "hook not implemented for this device (type=%ld)\n", static_cast<long>(type));
}

void zscolz_(int, const int*, const int*, const int*, const int*) {
    dmstat_("This device driver cannot change its color map.");
}

void zbrshz_(const float*, int, int, int, int, const int*, const char*, const int*, const char*, int*, int*, int*, int&,
             SpinPlot&, int) {
    dmstat_("You cannot brush with this device driver.");
}

void zspinz_(const float*, int, int, const int*, const char*, int, int*, SpinPlot&, int) {
    dmstat_("This device driver does not support spinning.");
}

void zbrshz_(BrushRecord& e, int mode) {
    zbrshz_(e.data.data(), e.nr, e.nc, e.p, e.q, e.label_offsets.data(), e.labels.data(), e.point_label_offsets.data(),
            e.point_labels.data(), e.work.data(), e.zero.data(), e.flags.data(), e.count, e.plot, mode);
}

void zspinz_(SpinRecord& e, int mode) {
    zspinz_(e.data.data(), e.nr, e.nc, e.label_offsets.data(), e.labels.data(), e.option, e.values.data(), e.plot,
            mode);
}

void zsavez_(std::string_view options) { to_printer(options); }

int newly_exposed() { return 0; }
void dim_display() {}
void undim_display() {}

}  // namespace tgd
