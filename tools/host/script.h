// Session scripts: plain text, one operation per line, read into the
// operations tgd-host sends.  The language is described in the README
// ("Standalone use").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/operation.h"

namespace tgdhost {

struct ScriptError {
    int line;
    std::string message;
};

struct Script {
    std::vector<Operation> operations;
    std::vector<ScriptError> errors;  // every malformed line, in order
};

Script parse_script(std::string_view text);

// The entry number of a graphics parameter given by name ("color") or by
// number ("10"); 0 when there is no such entry.
int parameter_entry(std::string_view name);

// The printing options text (13 tokens) of a print operation.
struct PrintRequest {
    std::string method;  // "postscript" or "laserjet"
    std::string file;    // "" : tgd names the file
    int landscape = -1;  // -1: tgd's default
    int dpi = -1;
    int maximize = -1;
    int onefile = -1;
    float width = 0, height = 0;  // inches; 0: unset
    std::string command;          // "" : no print command is run
    std::string paper;
};
std::string printing_options(const PrintRequest& request);

}  // namespace tgdhost
