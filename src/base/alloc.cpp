#include "base/alloc.h"

#include <cinttypes>
#include <cstdint>
#include <limits>
#include <new>

#include "base/abandon.h"
#include "base/messages.h"
#include "base/process_state.h"

namespace tgd {

int alloc_trace = 0;

namespace {
const StateReset reset_state{[] { alloc_trace = 0; }};
}  // namespace

void out_of_memory() {
    alloc_trace = 1;
    dmfatl_("Out of memory. Restart TAVIX.");
    zzabt_();
}

namespace {

// A request the heap could never satisfy is refused before it reaches the
// allocator, so that hostile counts from the pipe cannot overflow the size.
bool representable(long long count, long long size) {
    if (count < 0 || size < 0) return false;
    if (size != 0 && count > std::numeric_limits<std::ptrdiff_t>::max() / size) return false;
    return true;
}
}  // namespace

void* my_calloc(long long count, long long size) {
    if (!representable(count, size)) out_of_memory();
    // Zero elements still yield a real, distinct block.
    std::size_t n = count == 0 ? 1 : static_cast<std::size_t>(count);
    std::size_t s = size == 0 ? 1 : static_cast<std::size_t>(size);
    void* p = std::calloc(n, s);
    if (p == nullptr) out_of_memory();
    if (alloc_trace) {
        dmdiag_(dmformat("my_calloc : (%lld*%lld) %" PRIuPTR ".", count, size, reinterpret_cast<std::uintptr_t>(p)));
    }
    return p;
}

std::vector<float> my_calloc_floats(long long count) {
    constexpr auto size = static_cast<long long>(sizeof(float));
    if (!representable(count, size)) out_of_memory();
    // The C heap decides, as for every other argument block; its block is
    // only a probe (untouched pages) and goes straight back.  The volatile
    // keeps the compiler from eliding the pair of calls.
    void* volatile probe = std::calloc(count == 0 ? 1 : static_cast<std::size_t>(count), sizeof(float));
    if (probe == nullptr) out_of_memory();
    std::free(probe);
    std::vector<float> v;
    try {
        v.reserve(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        out_of_memory();
    }
    if (alloc_trace) {
        dmdiag_(
            dmformat("my_calloc : (%lld*%lld) %" PRIuPTR ".", count, size, reinterpret_cast<std::uintptr_t>(v.data())));
    }
    return v;
}

void* my_malloc(long long size) {
    if (!representable(1, size)) out_of_memory();
    void* p = std::malloc(size == 0 ? 1 : static_cast<std::size_t>(size));
    if (p == nullptr) out_of_memory();
    if (alloc_trace) {
        dmdiag_(dmformat("my_malloc : (%lld) %" PRIuPTR ".", size, reinterpret_cast<std::uintptr_t>(p)));
    }
    return p;
}

}  // namespace tgd
