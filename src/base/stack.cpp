#include "base/stack.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "base/abandon.h"
#include "base/chars.h"
#include "base/process_state.h"
#include "base/record_io.h"

namespace tgd {

std::array<std::int32_t, 10> zstakz_{};
std::array<std::int32_t, 21> zstksz_{};

namespace {

// Stack word numbers (1-based).
constexpr int w_count = 1, w_guard = 2, w_top = 3;

struct Freer {
    void operator()(void* p) const noexcept { TX_ok_free(p); }
};

// A heap block and the first index it answers to, in its space's units
// (words for types 1 to 4, characters for type 5).
struct IndexedBlock {
    long long first;
    long long units;
    std::unique_ptr<void, Freer> data;
};

// One index space: blocks in ascending order of their first index.
class IndexSpace {
public:
    explicit IndexSpace(long long next) : next_(next) {}

    // Registers data as count units from the next free index, rounded up
    // to an odd index when aligned (so 8-byte items sit on even word
    // offsets); returns the first index, or 0 when indexes are exhausted.
    long long add(void* data, long long units, bool aligned) {
        long long first = aligned && next_ % 2 == 0 ? next_ + 1 : next_;
        if (units > INT_MAX - first) return 0;
        blocks_.push_back({first, units, std::unique_ptr<void, Freer>(data)});
        next_ = first + std::max(units, 1LL);
        return first;
    }

    // The block holding the index: its storage, the offset of the index in
    // it and the units from the index to the block's end.
    struct Found {
        void* data = nullptr;
        long long offset = 0;
        long long remaining = 0;
    };
    Found find(long long index) const {
        auto it = std::upper_bound(blocks_.begin(), blocks_.end(), index,
                                   [](long long i, const IndexedBlock& b) { return i < b.first; });
        if (it == blocks_.begin()) return {};
        --it;
        if (index >= it->first + it->units) return {};
        return {it->data.get(), index - it->first, it->first + it->units - index};
    }

private:
    long long next_;
    std::vector<IndexedBlock> blocks_;
};

// Word indexes 1 to 10 are the stack words themselves.
IndexSpace& words() {
    static IndexSpace space(static_cast<long long>(zstakz_.size()) + 1);
    return space;
}
IndexSpace& characters() {
    static IndexSpace space(1);
    return space;
}

int first_use = 1;

[[noreturn]] void refuse(std::string_view message) {
    ptline_(2, message);
    zzabt_();
}

std::int32_t& word(int index) {
    auto s = istak(index);
    if (s.empty()) {
        std::fprintf(stderr, "Error:  Unexpected stack index (%d)\n", index);
        zzabt_();
    }
    return s[0];
}

}  // namespace

void j0tk00_(int& flag) {
    zstakz_ = {0, 0, 0, 0, 0, 2, 2, 1, 2, 2};
    zstksz_.fill(0);
    zstksz_[0] = 1;
    flag = 0;
}

int jstkgt_(long long n, int type) {
    if (first_use) j0tk00_(first_use);
    if (zstakz_[w_guard - 1] != 0) {
        ptline_(2, "TX terminating: stack overwritten");
        fabort_();
    }
    if (n < 1) refuse("Error: jstkgt: must allocate >0 items");
    if (type < 1 || type > 5) refuse("Error: jstkgt: bad mode");

    std::int32_t& top = zstakz_[w_top - 1];
    int result;
    if (type == item::character) {
        int link = chpget_(2, item::integer);
        int data = chpget_(n, item::character);
        word(link) = top;
        word(link + 1) = data;
        top = link;
        result = data;
    } else {
        // Four header items in front; a count beyond any memory stays
        // impossible instead of overflowing.
        int block = chpget_(std::min(n, LLONG_MAX - 4) + 4, type);
        int t = type == item::dble ? 2 * block - 1 : block;
        word(t) = top;
        word(t + 1) = type;
        top = t;
        result = block + 4;
    }
    ++zstakz_[w_count - 1];
    return result;
}

void reset_work_stack() {
    words() = IndexSpace(static_cast<long long>(zstakz_.size()) + 1);
    characters() = IndexSpace(1);
    zstakz_.fill(0);
    zstksz_.fill(0);
    first_use = 1;
}

namespace {
const StateReset reset_state{reset_work_stack};
}  // namespace

int heapgt_(long long n, int type) {
    if (type < 1 || type > 5) refuse("Error: heapgt: Invalid mode in heap allocation");
    if (n < 1) refuse("Error: heapgt: <=0 items requested");
    return chpget_(n, type);
}

int chpget_(long long n, int type) {
    if (type < 1 || type > 5) {
        std::fprintf(stderr, "Error:  Unexpected type in chpget (%d)\n", type);
        zzabt_();
    }
    const long long size = type == item::dble ? 8 : type == item::character ? 1 : 4;
    // A negative count is an impossible request, like one beyond memory.
    void* p = n < 0 ? nullptr : TX_ok_calloc(static_cast<std::size_t>(n), static_cast<std::size_t>(size));
    long long index = 0;
    if (p != nullptr) {
        if (type == item::character) {
            index = characters().add(p, n, false);
        } else {
            long long first = words().add(p, n * (size / 4), type == item::dble);
            index = type == item::dble && first != 0 ? (first - 1) / 2 + 1 : first;
        }
        if (index == 0) TX_ok_free(p);
    }
    if (index == 0) {
        std::fprintf(stderr, "Error:  Request for memory (%ld items) denied\n", static_cast<long>(n));
        zzabt_();
    }
    return static_cast<int>(index);
}

std::span<std::int32_t> istak(int index) {
    if (index >= 1 && index <= static_cast<int>(zstakz_.size())) {
        return std::span<std::int32_t>(zstakz_).subspan(static_cast<std::size_t>(index - 1));
    }
    auto f = words().find(index);
    if (f.data == nullptr) return {};
    return {static_cast<std::int32_t*>(f.data) + f.offset, static_cast<std::size_t>(f.remaining)};
}

std::span<float> rstak(int index) {
    auto s = istak(index);
    return {reinterpret_cast<float*>(s.data()), s.size()};
}

std::span<double> dstak(int index) {
    long long w = 2LL * index - 1;
    if (index < 1 || w > INT_MAX) return {};
    auto f = words().find(w);
    if (f.data == nullptr || f.offset % 2 != 0) return {};
    return {static_cast<double*>(f.data) + f.offset / 2, static_cast<std::size_t>(f.remaining / 2)};
}

std::span<char> cstak(int index) {
    auto f = characters().find(index);
    if (f.data == nullptr) return {};
    return {static_cast<char*>(f.data) + f.offset, static_cast<std::size_t>(f.remaining)};
}

int istrn2_(const char* string, int start, int length) {
    if (length < 0) length = islen2_(string, start);
    int c = jstkgt_(static_cast<long long>(length) + 1, item::character);
    char* dest = cstak(c).data();
    std::memcpy(dest, string + (start - 1), static_cast<std::size_t>(length));
    dest[length] = '\0';
    return c;
}

int istrng_(const char* string, int length) { return istrn2_(string, 1, length); }

void* TX_calloc(std::size_t count, std::size_t size) { return std::calloc(count, size); }
void* TX_ok_calloc(std::size_t count, std::size_t size) { return std::calloc(count, size); }
void* TX_realloc(void* pointer, std::size_t size) { return std::realloc(pointer, size); }
void* TX_ok_realloc(void* pointer, std::size_t size) { return std::realloc(pointer, size); }
void TX_ok_free(void* pointer) { std::free(pointer); }

void fabort_() { std::abort(); }

}  // namespace tgd
