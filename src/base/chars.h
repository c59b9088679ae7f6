// Small character and array routines shared by the line-oriented code.
// Character positions are 1-based; strings are ended by a NUL.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tgd {

// Case folding of one character: mode 1 upper-cases a lower-case letter,
// mode 2 lower-cases an upper-case letter; anything else is unchanged.
[[nodiscard]] int iascii_(int c, int mode);

// out := string[position] (1-based).
void jgetch_(char& out, const char* string, int position);
// string[position] := c (1-based).
void jputch_(char* string, int position, char c);

// Copies length characters from source (from its 1-based position) to
// destination (from its position); nothing for length <= 0.
void concat_(char* destination, int dpos, const char* source, int spos, int length);

// Characters from start (1-based) to the first NUL, looking at most 511
// positions; 511 when no NUL is found there.
[[nodiscard]] int islen2_(const char* string, int start);
[[nodiscard]] int islenz_(const char* string);

// array[0..count) := value.  A negative count is reported and abandons the
// operation.
void lfill_(std::int32_t value, std::int32_t* array, int count);

// Copies count bytes, correct for overlapping areas; returns destination.
void* sbcopy(const void* source, void* destination, std::ptrdiff_t count);

// 1 when the string says yes ("y", "t", "1", "yes", "on", "true", any
// case), else 0.  A null string is no.
[[nodiscard]] int TX_isyes(const char* string);

// Writes a readable dump of count bytes on the descriptor, in lines of
// about 72 characters that each start with the label.
void TX_dumpbuf(int fd, const char* label, const void* bytes, int count);

}  // namespace tgd
