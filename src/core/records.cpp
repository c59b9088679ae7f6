#include "core/records.h"

namespace tgd {

int entry_type(const DisplayEntry& entry) {
    if (const auto* unknown = std::get_if<UnknownRecord>(&entry)) return unknown->type;
    return static_cast<int>(entry.index()) + 1;
}

void dspinplot(SpinPlot& plot, int nr, int nc) {
    plot = SpinPlot{};
    plot.nr = nr;
    plot.nc = nc;
    plot.data.assign(static_cast<std::size_t>(nr > 0 && nc > 0 ? static_cast<long long>(nr) * nc : 0), 0.0f);
}

}  // namespace tgd
