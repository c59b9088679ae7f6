// The kernel's error and out-of-bounds reports: lines built with the field
// encoder and printed on descriptor 2, the terminal's own stream.
#include <cmath>
#include <string_view>

#include "base/fields.h"
#include "base/pipe.h"
#include "base/record_io.h"
#include "core/bgrp.h"
#include "core/reports.h"

namespace tgd {

namespace {

// Reports are printed while error_reports, truncated toward zero, is not
// negative: -0.5 still prints, -1 does not.
bool reports_on() { return !(std::trunc(bgrp_(bg::error_reports)) < 0.0f); }

void print_line() { prtfil_(kTerminalFd); }

void empty_line() {
    encbfc_.reset();
    encbfl_ = 0;
}

}  // namespace

void zerrpz_(std::string_view routine, std::string_view message) {
    if (!reports_on()) return;
    encs00_("GR-Z Error from Routine ");
    encs00_(routine.substr(0, 6));
    print_line();
    // The message ends at its terminator, when it has one.
    encs00_(message.substr(0, message.find('\0')));
    print_line();
}

void zobdsz_(std::string_view label, float x, float y) {
    if (!reports_on()) return;
    empty_line();
    encs00_(label);
    encs00_(" out of bounds X=");
    encr00_(x);
    encs00_(" Y=");
    encr00_(y);
    print_line();
}

void ztobdz_(const char* text, int n, float x, float y) {
    if (!reports_on()) return;
    empty_line();
    encs00_("Text string: ");
    encs00_(std::string_view(text, n > 0 ? static_cast<std::size_t>(n) : 0));
    print_line();
    encs00_(" out of bounds at X=");
    encr00_(x);
    encs00_(" Y=");
    encr00_(y);
    print_line();
}

}  // namespace tgd
