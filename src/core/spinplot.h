// Working state of a brushing or spinning display, kept with the brush or
// spin entry that owns it.
#pragma once

#include <array>
#include <vector>

namespace tgd {

struct SpinPlot {
    // The owning entry's point and variable counts.  They never change after
    // recording, so the record keeps its own copies rather than pointers
    // into the entry (which would dangle once the entry is copied or moved).
    int nr = 0;
    int nc = 0;
    int state1 = 0;
    int state2 = 0;
    int state3 = 0;
    std::vector<float> data;                       // nr*nc values
    std::array<std::array<float, 3>, 3> matrix{};  // rotation of the view
    int state4 = 0;

    friend bool operator==(const SpinPlot&, const SpinPlot&) = default;
};

// Fills plot for nr points of nc variables: every value zero.
void dspinplot(SpinPlot& plot, int nr, int nc);

}  // namespace tgd
