// Allocation that never returns null: a failure reports "Out of memory.
// Restart TAVIX." and abandons the operation with 'A'.  After the first
// failure every successful allocation is traced on standard error.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

namespace tgd {

extern int alloc_trace;

// count*size zeroed bytes, released with std::free.  A count of zero gives
// a valid block; a negative count or a size that does not fit in memory is
// an allocation failure.
void* my_calloc(long long count, long long size);
void* my_malloc(long long size);

// The allocation-failure path: reports "Out of memory. Restart TAVIX.",
// starts allocation tracing and abandons the operation with 'A'.
[[noreturn]] void out_of_memory();

// An empty vector with room for count floats, refused and traced as
// my_calloc refuses and traces (the C heap is asked for the block first, so
// a request it cannot grant is refused at the same counts): argument arrays
// that are filled as their data arrives and that a display-list entry then
// takes over without a copy.
std::vector<float> my_calloc_floats(long long count);

struct FreeDeleter {
    void operator()(void* p) const noexcept { std::free(p); }
};

// An owning block of count zeroed elements from my_calloc: the command loop
// reads each argument array into one, so that an abandoned operation still
// releases what it had read.
template <class T>
class Block {
public:
    Block() = default;
    explicit Block(long long count)
        : data_(static_cast<T*>(my_calloc(count, static_cast<long long>(sizeof(T))))),
          count_(static_cast<std::size_t>(count)) {}

    T* data() { return data_.get(); }
    const T* data() const { return data_.get(); }
    std::size_t size() const { return count_; }
    std::size_t bytes() const { return count_ * sizeof(T); }
    T& operator[](std::size_t i) { return data_.get()[i]; }
    const T& operator[](std::size_t i) const { return data_.get()[i]; }
    T* begin() { return data(); }
    T* end() { return data() + count_; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + count_; }

private:
    std::unique_ptr<T[], FreeDeleter> data_;
    std::size_t count_ = 0;
};

}  // namespace tgd
