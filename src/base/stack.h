// The index-addressed work stack and heap.  Blocks are designated by
// 1-based indexes: types 1 to 3 count 4-byte words and type 4 counts
// 8-byte items from the base of zstakz_, type 5 counts characters from the
// character base.  Blocks live for the whole process.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tgd {

// Item types of the work stack and the heap.
namespace item {
inline constexpr int integer = 1, real = 2, logical = 3, dble = 4, character = 5;
}

// Stack words (numbered from 1 by their callers): block count, guard (must stay 0),
// top, two zeros, then 2, 2, 1, 2, 2 after the first use.  They occupy
// word indexes 1 to 10.
extern std::array<std::int32_t, 10> zstakz_;
extern std::array<std::int32_t, 21> zstksz_;

// One-time initialisation of the stack words; clears flag.
void j0tk00_(int& flag);
// Releases every block and puts the stack words back as they were before
// the first use (a process reset).  Every earlier index becomes invalid.
void reset_work_stack();

// A stack block of n items of the type; returns the index of its first
// usable item.  Bad requests report on descriptor 2 and abandon; a damaged
// guard word ends the process.
[[nodiscard]] int jstkgt_(long long n, int type);

// A fresh zero-filled heap block, with the request checked first.
[[nodiscard]] int heapgt_(long long n, int type);
// A fresh zero-filled block, without checks on the count.
[[nodiscard]] int chpget_(long long n, int type);

// Storage behind an index: the items from the index to the end of its
// block, empty when the index designates no allocated storage.
[[nodiscard]] std::span<std::int32_t> istak(int index);
[[nodiscard]] std::span<float> rstak(int index);
[[nodiscard]] std::span<double> dstak(int index);
[[nodiscard]] std::span<char> cstak(int index);

// Copies a string onto the work stack as a character block of length + 1
// with a NUL after it; a negative length means up to the NUL.  Returns the
// block's character index.
[[nodiscard]] int istrn2_(const char* string, int start, int length);
[[nodiscard]] int istrng_(const char* string, int length);

// Allocation wrappers; null on failure, the caller decides.
[[nodiscard]] void* TX_calloc(std::size_t count, std::size_t size);
[[nodiscard]] void* TX_ok_calloc(std::size_t count, std::size_t size);
[[nodiscard]] void* TX_realloc(void* pointer, std::size_t size);
[[nodiscard]] void* TX_ok_realloc(void* pointer, std::size_t size);
void TX_ok_free(void* pointer);

// Ends the process abnormally at once.
[[noreturn]] void fabort_();

}  // namespace tgd
