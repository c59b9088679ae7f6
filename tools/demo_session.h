// The demonstration session: one host session that exercises every kind of
// drawing, a parameter change, an image, deferred graphics, printing with
// both printer methods, a refresh, a new frame and the wrap-up.  tgdhost
// runs it to show tgd at work; the golden test runs it and compares every
// output with its recorded copy.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "host_session.h"

namespace tgdhost {

struct DemoFiles {
    std::vector<std::string> prolog;               // PostScript prolog lines sent before printing
    std::string postscript;                        // the frame printed as PostScript ("" : not printed)
    std::string laserjet;                          // the frame printed for the LaserJet ("" : not printed)
    std::string deferred;                          // deferred-graphics file ("" : not recorded)
    std::function<void(const std::string&)> type;  // writes to tgd's standard input
};

// Runs the session; each operation and its reply is written as a line to
// transcript.
void run_demo_session(HostSession& tgd, const DemoFiles& files, std::FILE* transcript);

}  // namespace tgdhost
