// Byte transport on the host's pipes (operations on descriptor 15, replies
// on descriptor 16) and on the terminal's descriptor 2.
#pragma once

namespace tgd {

inline constexpr int kCommandFd = 15;
inline constexpr int kReplyFd = 16;
inline constexpr int kTerminalFd = 2;

// Reads n bytes in chunks of at most 4096.  Returns n, or the first result
// of read() that is 0 (end of file) or negative; the bytes already read
// stay in buf.  n < 1 returns n without reading.  A read interrupted by a
// SIGINT inside an interrupt window abandons the operation with 'B'.
int pread(int fd, void* buf, int n);

// The same loop over write().
int pwrite(int fd, const void* buf, int n);

// One read() call and its result: used for the operation letter, so that
// end of file on descriptor 15 is seen.
int my_read(int fd, void* buf, int n);

}  // namespace tgd

#include <optional>
#include <string>

namespace tgd {

// Reads one line from fd a byte at a time, so that nothing after the
// newline is consumed (standard input is shared by the locator, the menu
// and the frame prompt).  The newline is not kept; at most max bytes are
// kept and the rest of a longer line is dropped.  End of input before any
// byte gives no line.
std::optional<std::string> read_line(int fd, std::size_t max);

}  // namespace tgd
