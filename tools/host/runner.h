// Sends operations to tgd and reports each with its reply, a line each,
// followed by the messages tgd wrote meanwhile.  An abandoned ('A') or
// interrupted ('B') operation is reported and the session goes on.
#pragma once

#include <cstdio>
#include <string>

#include "host/operation.h"
#include "host/terminal_pump.h"
#include "host_session.h"

namespace tgdhost {

class Runner {
public:
    // where names the source in the report ("line", "record line").
    Runner(HostSession& tgd, TerminalPump& pump, std::FILE* report, std::string where = "line");

    void run(const Operation& op);
    int abandoned() const { return abandoned_; }

private:
    // The reply letter; false (after reporting it) when it is 'A' or 'B'.
    bool replied(const Operation& op, char expected, char reply);
    void report(const Operation& op, const std::string& reply);
    void points_reply(const Operation& op, char letter, const char* what);

    HostSession& tgd_;
    TerminalPump& pump_;
    std::FILE* out_;
    std::string where_;
    int abandoned_ = 0;
};

}  // namespace tgdhost
