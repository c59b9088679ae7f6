// The one replay loop, shared by refresh and printing.
#include "core/replay.h"

#include <algorithm>
#include <variant>

#include "base/messages.h"
#include "base/process_state.h"

namespace tgd {

GraphicsParameters saved_bgrp;

namespace {
const StateReset reset_state{[] { saved_bgrp = GraphicsParameters{}; }};
}  // namespace

namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
// Spelled out for compilers without aggregate deduction (clang 14).
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// Replays one entry; false when the device's init refuses.
bool replay_entry(DisplayEntry& entry, ReplayDevice& device) {
    // clang-format off
    return std::visit(
        Overloaded{
            [&](const LinesRecord& r) { return device.lines(r), true; },
            [&](const PolygonRecord& r) { return device.polygon(r), true; },
            [&](const PointsRecord& r) { return device.points(r), true; },
            [&](const Boxed<SegmentsRecord>& r) { return device.segments(*r), true; },
            [&](const TextRecord& r) { return device.text(r), true; },
            [&](const DiffRecord& r) {
                device.diff(r);
                silence_error_reports();
                return true;
            },
            [&](const InitRecord& r) { return device.init(r); },
            [&](Boxed<BrushRecord>& r) { return device.brush(*r), true; },
            [&](Boxed<SpinRecord>& r) { return device.spin(*r), true; },
            [&](const Boxed<ImageRecord>& r) { return device.image(*r), true; },
            [&](const UnknownRecord& r) {
                dmprog_(dmformat("Unknown display list type: %d.", r.type));
                return true;
            },
        },
        entry);
    // clang-format on
}

}  // namespace

void silence_error_reports() { bgrp_(bg::error_reports) = -1.0f; }

void load_init(const InitRecord& init) {
    std::size_t n = std::min(init.v.size(), bgrp_.v.size());
    std::copy_n(init.v.begin(), n, bgrp_.v.begin());
    silence_error_reports();
}

namespace {
// Whether the list begins with the parameters in force when the frame began.
bool starts_with_init(const DisplayList* list) {
    return list != nullptr && !list->entries.empty() && std::holds_alternative<InitRecord>(list->entries.front());
}
}  // namespace

bool replay_displaylist(DisplayList* list, ReplayDevice& device, bool start_device) {
    BgrpSave save;
    for (bool pass_again = true; pass_again;) {
        pass_again = false;
        device.begin_pass();
        // A list recorded after 'I' without a new frame has no init entry:
        // a printer then starts with the parameters in force now.
        if (start_device && !starts_with_init(list) && !device.init(InitRecord{{bgrp_.v.begin(), bgrp_.v.end()}}))
            return false;
        if (list == nullptr) break;
        for (DisplayEntry& entry : list->entries) {
            if (device.exposed_again()) {
                device.flush();
                save.restore();
                pass_again = true;
                break;
            }
            if (!replay_entry(entry, device)) return false;
        }
    }
    device.flush();
    device.wrap_up();
    return true;
}

}  // namespace tgd
