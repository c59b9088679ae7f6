#include "driver/wire.h"

#include <algorithm>
#include <cstring>

#include "base/pipe.h"
#include "base/process_state.h"

namespace tgd {

namespace {
// pread takes an int count; larger transfers go in pieces.
constexpr long long kPiece = 1 << 30;

bool at_eof = false;
const StateReset reset_state{[] { at_eof = false; }};

void read_bytes(void* buf, long long bytes) {
    auto* p = static_cast<char*>(buf);
    for (long long done = 0; done < bytes;) {
        int len = static_cast<int>(std::min(bytes - done, kPiece));
        if (pread(kCommandFd, p + done, len) != len) {
            at_eof = true;  // the rest stays zero
            return;
        }
        done += len;
    }
}

template <class T>
T read_value() {
    T v{};
    read_bytes(&v, sizeof v);
    return v;
}
}  // namespace

bool wire_eof() { return at_eof; }

int read_int() { return read_value<int>(); }
float read_real() { return read_value<float>(); }
char read_byte() { return read_value<char>(); }

template <class T>
Block<T> read_block(long long n) {
    Block<T> block(n);
    read_bytes(block.data(), static_cast<long long>(block.bytes()));
    return block;
}
template Block<int> read_block<int>(long long);
template Block<float> read_block<float>(long long);
template Block<char> read_block<char>(long long);

Block<char> read_terminated(int n) {
    Block<char> block(static_cast<long long>(n) + 1);
    if (n > 0) read_bytes(block.data(), n);
    return block;
}

std::string read_text(int n) {
    Block<char> block = read_block<char>(n);
    return std::string(block.data(), block.size());
}

std::vector<std::string> read_strings() {
    int n = read_int();
    if (n < 0) out_of_memory();  // no array of n texts can exist
    std::vector<std::string> texts;
    for (int i = 0; i < n && !wire_eof(); ++i) texts.push_back(read_text(read_int()));
    return texts;
}

void reply_byte(char c) { pwrite(kReplyFd, &c, 1); }

void reply_int(int v) { pwrite(kReplyFd, &v, sizeof v); }

void reply_real_pair(float a, float b) {
    float pair[2] = {a, b};
    pwrite(kReplyFd, pair, sizeof pair);
}

void reply_bytes(const void* data, long long bytes) {
    const auto* p = static_cast<const char*>(data);
    for (long long done = 0; done < bytes;) {
        int len = static_cast<int>(std::min(bytes - done, kPiece));
        if (pwrite(kReplyFd, p + done, len) != len) return;  // write failures are ignored
        done += len;
    }
}

}  // namespace tgd
