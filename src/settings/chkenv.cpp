// Environment variables that set printing defaults.  Each check reads its
// variable anew at every call and keeps nothing.
#include <array>
#include <cstdlib>
#include <cstring>

#include "base/messages.h"
#include "settings/printer.h"

namespace tgd {

int env_horizontal() {
    const char* value = std::getenv("TX_PRINT_ORIENTATION");
    if (value == nullptr) return -1;
    if (value[0] == 'p') return 0;
    if (value[0] == 'l') return 1;
    dmerro_(
        dmformat("Environment variable TX_PRINT_ORIENTATION is set to \"%s\".  It should be set to "
                 "either \"landscape\" or \"portrait\".",
                 value));
    return -1;
}

int env_laserjet_dpi() {
    const char* value = std::getenv("TX_LASERJET_DPI");
    if (value == nullptr) return -1;
    for (int dpi : {75, 100, 150, 300})
        if (std::to_string(dpi) == value) return dpi;
    dmerro_(
        dmformat("Environment variable TX_LASERJET_DPI is set to \"%s\".  It should be set to \"75\", "
                 "\"100\", \"150\", or \"300\".",
                 value));
    return -1;
}

int env_onefile() {
    const char* value = std::getenv("TX_PRINTGRAPH_ONEFILE");
    if (value == nullptr) return -1;
    if (value[0] == 'y') return 1;
    if (value[0] == 'n') return 0;
    dmerro_(
        dmformat("Environment variable TX_PRINTGRAPH_ONEFILE is set to \"%s\".  It should be set to "
                 "either \"yes\" or \"no\".",
                 value));
    return -1;
}

std::optional<std::string> env_method() {
    static constexpr std::array<const char*, 5> methods{"postscript", "laserjet", "sun_rasterfile", "X10_screendump",
                                                        "X11_screendump"};
    const char* value = std::getenv("TX_PRINTGRAPH_METHOD");
    if (value == nullptr) return std::nullopt;
    // The first five characters name the method.
    for (const char* method : methods)
        if (std::strncmp(value, method, 5) == 0) return std::string(method);
    dmerro_(
        dmformat("Environment variable TX_PRINTGRAPH_METHOD is set to \"%s\".  It should be set to "
                 "\"postscript\", \"laserjet\" or \"sun_rasterfile\".",
                 value));
    return std::nullopt;
}

std::optional<std::string> env_laserjet_print_command() {
    const char* value = std::getenv("TX_LASERJET_PRINT_COMMAND");
    if (value == nullptr || value[0] == '\0') return std::nullopt;
    return std::string(value);
}

}  // namespace tgd
