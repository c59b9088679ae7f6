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
    OutputStream() = default;
    // What is gathered reaches the file when the stream goes away unclosed
    // (an abandoned operation), as a stdio file's buffer would.
    ~OutputStream() { drain(); }
    OutputStream(OutputStream&& other) noexcept = default;
    OutputStream& operator=(OutputStream&& other) noexcept {
        if (this != &other) {
            drain();
            file_ = std::move(other.file_);
            buffer_ = std::move(other.buffer_);
            other.buffer_.clear();
            ok_ = other.ok_;
        }
        return *this;
    }

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
    void write(std::string_view bytes) {
        if (!file_ || !ok_) return;
        buffer_.append(bytes);
        if (buffer_.size() >= kGather) drain();
    }
    // Lets an encoder append to the stream's buffer directly:
    // encode(std::string&) adds its bytes at the end.
    template <class Encode>
    void append(Encode&& encode) {
        if (!file_ || !ok_) return;
        encode(buffer_);
        if (buffer_.size() >= kGather) drain();
    }
    void flush();
    // Closes the file; false when anything since the open failed.
    [[nodiscard]] bool close();

private:
    struct Closer {
        void operator()(std::FILE* f) const noexcept { std::fclose(f); }
    };
    static constexpr std::size_t kGather = 1 << 16;
    // Hands the gathered bytes to the file.
    void drain();

    std::unique_ptr<std::FILE, Closer> file_;
    std::string buffer_;
    bool ok_ = true;
};

}  // namespace tgd

namespace tgd {

// Gathered writes on descriptors.  The terminal stream (descriptor 2, which
// the messages also use through stderr) and the record files written by
// descriptor gather their bytes in memory and write them in large pieces;
// flush_gathered() puts everything out.  It is called before every reply,
// before every blocking read, before a file is repositioned or closed,
// before a command is run, and when an operation is abandoned, so that
// nobody can tell from the bytes that they were gathered.  While descriptor
// 2 is a terminal (a person watching it draw) every sequence goes out at
// once.

// Start-up: descriptor 2 gathers unless it is a terminal.
void gather_terminal_output();
// Appends bytes for fd; descriptor 2 goes through stderr.
void gathered_write(int fd, std::string_view bytes);
// Appends reply bytes for fd: they are written after the terminal and file
// bytes at the next flush, so that what an operation wrote is out before
// its reply.
void gathered_reply(int fd, std::string_view bytes);
// Writes out everything gathered.  A write interrupted by a SIGINT inside
// an interrupt window drops what was not yet written and abandons the
// operation with 'B', as a write blocked at once would have.
void flush_gathered();
// Puts out what is gathered for fd and tells whether a write to fd has
// failed (a full disk, an I/O error) since it was last asked; the failure
// is forgotten by asking.  Gathered writes cannot report a failure when
// they are made, so a writer that must not lose bytes silently asks here.
[[nodiscard]] bool take_write_failure(int fd);

}  // namespace tgd
