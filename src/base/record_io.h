// Record I/O: thin file and line operations over descriptors.  A unit is a
// descriptor number; descriptor 0 carries interactive answers and
// descriptor 2 the terminal for messages.
#pragma once

#include <span>
#include <string_view>

namespace tgd {

// Item type of block transfers: 5 is characters, anything else 4-byte words.
inline constexpr int cio_characters = 5;

// Block transfers; the result is the number of whole items moved, -1 on a
// descriptor error.
[[nodiscard]] int cread_(int unit, void* buffer, int count, int type);
[[nodiscard]] int ccread_(int unit, void* buffer, int count, int type);
[[nodiscard]] int cwrite_(int unit, const void* buffer, int count, int type);

// Repositions (whence 0 start, 1 current, 2 end); returns the new offset.
long long cseek_(int unit, long long offset, int whence);

// Opens the NUL-terminated name; the descriptor or a negative value.
[[nodiscard]] int copen_(const char* name, int flags, int mode = 0);
// Creates or truncates the name with permissions 0775; an empty name
// creates a fresh "TXtemp.XXXXXX" file.  The descriptor or a negative value.
[[nodiscard]] int ccreat_(const char* name);
// The name the last empty-name ccreat_ made.
std::string_view ccreat_temp_name();
int cclose_(int unit);
int sclose_(int unit);

// Opens for the deferred-graphics writer: mode 1 creates or truncates, any
// other mode is used as the open flags.  The descriptor is closed on exec.
[[nodiscard]] int sopen_(const char* name, int mode);
// Sets the descriptor's close-on-exec flag to flag.
void aclose_(int unit, int flag);

// Reads one line, one byte per read, without its newline.  length := the
// bytes kept (a longer line is cut at buffer.size() - 1 and its rest
// dropped), a NUL is stored after them; -1 at end of input before any byte.
void gtline_(int unit, std::span<char> buffer, int& length);
// The same into buffer from the 1-based position start.
void gtlin2_(int unit, std::span<char> buffer, int start, int& length);

// Writes text without its trailing blanks, then a newline.
void ptline_(int unit, std::string_view text);
// Writes the encoder's line and resets it.
void prtfil_(int unit);
// Shows the prompt on descriptor 2 when unit is 0 and descriptor 2 is a
// terminal.
void setprm_(int unit, std::string_view prompt);
// The decoder's refill: the next line of its unit into decbfc_.
void gtinbf_();

}  // namespace tgd
