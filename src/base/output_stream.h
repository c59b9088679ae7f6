// The output stream of every printer file: a file opened close-on-exec
// (print commands started while it is open must not inherit it) whose
// first failed write, flush or close sticks until the next open, so that
// the end of a document can tell whether everything reached the file.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tgd {

class OutputStream {
public:
    // Opens path with the fopen mode "w" or "a", closing what was open;
    // false, and not ok(), when it cannot be opened (an empty path never is).
    [[nodiscard]] bool open(const std::string& path, const char* mode);
    // Takes over a file opened elsewhere (closing what was open); false,
    // and not ok(), when there is none.
    [[nodiscard]] bool adopt(std::FILE* file);
    bool is_open() const { return file_ != nullptr; }
    // No open, write, flush or close has failed since the last open.
    bool ok() const { return ok_; }

    // Buffered: the bytes reach the file at flush() or close().
    void write(std::string_view bytes);
    void flush();
    // Closes the file; false when anything since the open failed.
    [[nodiscard]] bool close();

private:
    struct Closer {
        void operator()(std::FILE* f) const noexcept { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    bool ok_ = true;
};

}  // namespace tgd
