// Message routines shared by every subsystem.  Each writes its text and a
// newline on standard error and stops nothing; the five names only carry
// the severity for the reader.
#pragma once

#include <array>
#include <string_view>

namespace tgd {

// Scratch buffer in which a message is formatted before it is reported.
extern std::array<char, 1024> dmbuf;

// Formats printf-style into dmbuf (always terminated, cut at its size) and
// returns a view of the result.
std::string_view dmformat(const char* format, ...) __attribute__((format(printf, 1, 2)));

void dmdiag_(std::string_view text);  // second line of a protocol error; allocation tracing
void dmfatl_(std::string_view text);  // first line of a failure that abandons the operation
void dmerro_(std::string_view text);  // user-level errors
void dmprog_(std::string_view text);  // internal inconsistencies
void dmstat_(std::string_view text);  // refusals and status notes

}  // namespace tgd
