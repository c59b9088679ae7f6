#include "driver/wire.h"

#include <algorithm>
#include <cstring>

#include "base/output_stream.h"
#include "base/pipe.h"
#include "base/process_state.h"

namespace tgd {

namespace {
// The reads take an int count; larger transfers go in pieces.
constexpr long long kPiece = 1 << 30;

bool at_eof = false;
const StateReset reset_state{[] { at_eof = false; }};

void read_bytes(void* buf, long long bytes) {
    auto* p = static_cast<char*>(buf);
    for (long long done = 0; done < bytes;) {
        int len = static_cast<int>(std::min(bytes - done, kPiece));
        if (read_commands(p + done, len) != len) {
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
std::vector<float> read_floats(long long n) {
    std::vector<float> v = my_calloc_floats(n);
    // Filled piece by piece as the data arrives: a count whose data never
    // comes (end of file) touches no memory, and its caller uses none of it.
    constexpr std::size_t kFloatsAtOnce = std::size_t{1} << 16;
    const auto total = static_cast<std::size_t>(n);
    while (v.size() < total && !wire_eof()) {
        const std::size_t start = v.size();
        const std::size_t piece = std::min(kFloatsAtOnce, total - start);
        v.resize(start + piece);
        read_bytes(v.data() + start, static_cast<long long>(piece) * static_cast<long long>(sizeof(float)));
    }
    return v;
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

// The replies of an operation are gathered and written after everything
// the operation wrote, at the end of the operation or before a read that
// can block.
void reply_bytes(const void* data, long long bytes) {
    gathered_reply(kReplyFd, std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(bytes)));
}

void reply_byte(char c) { reply_bytes(&c, 1); }

void reply_int(int v) { reply_bytes(&v, sizeof v); }

void reply_real_pair(float a, float b) {
    const float pair[2] = {a, b};
    reply_bytes(pair, sizeof pair);
}

}  // namespace tgd
