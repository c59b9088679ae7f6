// Printing: the method-to-device table and the one printing replay.
#include "driver/print.h"

#include <string>

#include "base/messages.h"
#include "base/scope.h"
#include "displaylist/displaylist.h"
#include "driver/device_hooks.h"
#include "laserjet/device.h"
#include "postscript/device.h"
#include "settings/printer.h"

namespace tgd {

namespace {

// The printer device of each print method.  A new printer is a
// ReplayDevice and one row here.
struct PrintMethod {
    std::string_view name;
    ReplayDevice& device;
};
const PrintMethod kPrintMethods[] = {
    {"laserjet", hplj_page},
    {"postscript", pscplot},
};

}  // namespace

int print_displaylist(ReplayDevice& device) {
    dim_display();  // for the length of the printing replay
    const ScopeExit undim{[] { undim_display(); }};
    return replay_displaylist(current_displaylist.get(), device, true) ? 1 : 0;
}

int to_postscript() { return print_displaylist(pscplot); }
int to_laserjet() { return print_displaylist(hplj_page); }

void to_printer(std::string_view options) {
    // The options and whatever the device completes hold for this print
    // only, also when it is abandoned.
    save_pparms();
    const ScopeExit restore{[] { restore_pparms(); }};
    (void)pparms(options);  // fewer than 13 tokens: print with the settings in force
    std::string& method = CurrentPrinterParameters.method;
    if (method.empty()) method = env_method().value_or("postscript");
    for (const PrintMethod& m : kPrintMethods) {
        if (method == m.name) {
            (void)print_displaylist(m.device);
            return;
        }
    }
    dmerro_(dmformat("Cannot use printgraph method \"%s\".", method.c_str()));
}

}  // namespace tgd
