#include "base/output_stream.h"

namespace tgd {

bool OutputStream::open(const std::string& path, const char* mode) {
    const std::string close_on_exec = std::string(mode) + "e";
    // The old file is closed first: reopening the same file must not let
    // its buffered bytes land in the file just emptied.
    file_.reset();
    file_.reset(path.empty() ? nullptr : std::fopen(path.c_str(), close_on_exec.c_str()));
    ok_ = file_ != nullptr;
    return ok_;
}

bool OutputStream::adopt(std::FILE* file) {
    file_.reset(file);
    ok_ = file_ != nullptr;
    return ok_;
}

void OutputStream::write(std::string_view bytes) {
    if (!file_ || !ok_ || bytes.empty()) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) ok_ = false;
}

void OutputStream::flush() {
    if (file_ && std::fflush(file_.get()) != 0) ok_ = false;
}

bool OutputStream::close() {
    if (!file_) return ok_;
    if (std::fflush(file_.get()) != 0) ok_ = false;
    if (std::fclose(file_.release()) != 0) ok_ = false;
    return ok_;
}

}  // namespace tgd
