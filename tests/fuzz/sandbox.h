// Keeps the driver's file operations inside a scratch directory while the
// fuzz target runs it.  The target is linked with the path-taking C library
// calls wrapped (--wrap); while the sandbox is closed every call passes
// through unchanged, so libFuzzer's own files are never touched.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fuzz {

inline constexpr std::size_t kMaxBlock = std::size_t{64} << 20;

// root: the scratch directory (absolute).  Paths under the kept prefixes
// (libFuzzer's artifact paths) always pass through.
void sandbox_init(const std::string& root, std::vector<std::string> kept_prefixes);

// While open: a relative path stays as it is (the working directory is the
// scratch directory); an absolute path is moved under root/fs (so /tmp/x
// becomes root/fs/tmp/x); a path with a ".." component is refused with
// EACCES; system() runs nothing and reports success; malloc, calloc and
// realloc refuse blocks larger than kMaxBlock, as on a machine with little
// memory, so that a count the host announces meets the driver's
// out-of-memory answer instead of reserving gigabytes.
void sandbox_open();
void sandbox_close();

}  // namespace fuzz
