#include "base/process_state.h"

#include <vector>

namespace tgd {

namespace {

// Made on first use: registrations run during static initialisation.
std::vector<void (*)()>& resets() {
    static std::vector<void (*)()> all;
    return all;
}

}  // namespace

StateReset::StateReset(void (*reset)()) { resets().push_back(reset); }

void reset_process_state() {
    for (void (*reset)() : resets()) reset();
}

}  // namespace tgd
