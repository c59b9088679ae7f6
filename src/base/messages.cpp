#include "base/messages.h"
#include "base/process_state.h"

#include <cstdarg>
#include <cstdio>

namespace tgd {

std::array<char, 1024> dmbuf{};

namespace {
const StateReset reset_state{[] { dmbuf.fill('\0'); }};
}  // namespace

std::string_view dmformat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(dmbuf.data(), dmbuf.size(), format, args);
    va_end(args);
    if (n < 0) n = 0;
    if (static_cast<std::size_t>(n) >= dmbuf.size()) n = static_cast<int>(dmbuf.size()) - 1;
    return {dmbuf.data(), static_cast<std::size_t>(n)};
}

namespace {
void report(std::string_view text) { std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data()); }
}  // namespace

void dmdiag_(std::string_view text) { report(text); }
void dmfatl_(std::string_view text) { report(text); }
void dmerro_(std::string_view text) { report(text); }
void dmprog_(std::string_view text) { report(text); }
void dmstat_(std::string_view text) { report(text); }

}  // namespace tgd
