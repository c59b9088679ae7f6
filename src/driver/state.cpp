#include "driver/state.h"

#include "base/process_state.h"

namespace tgd {

DriverState driver;

namespace {
const StateReset reset_state{[] { driver = DriverState{}; }};
}  // namespace

}  // namespace tgd
