// The parameter block: change vectors and the dump of the saved attributes.
#include <cmath>

#include "base/fields.h"
#include "base/process_state.h"
#include "base/record_io.h"
#include "core/bgrp.h"

namespace tgd {

GraphicsParameters bgrp_;
int par_dump_unit = -1;

namespace {
const StateReset reset_state{[] {
    bgrp_ = GraphicsParameters{};
    par_dump_unit = -1;
}};
}  // namespace

void amdiff_(const float* v, int n) {
    for (int i = 0; i + 1 < n; i += 2) {
        float entry = std::trunc(v[i]);
        if (entry >= 1.0f && entry <= static_cast<float>(GraphicsParameters::kSize)) {
            bgrp_(static_cast<int>(entry)) = v[i + 1];
        }
    }
}

void amset_() {
    if (par_dump_unit < 0) return;
    encs00_("par");
    enci00_(150, free_format);  // the count the deferred-file reader expects
    prtfil_(par_dump_unit);
    for (auto [first, last] : kSavedAttributeRuns) {
        for (int n = first; n <= last; ++n) {
            enci00_(n, free_format);
            encr00_(bgrp_(n));
            prtfil_(par_dump_unit);
        }
    }
}

}  // namespace tgd
