// Reading operation arguments from descriptor 15 and writing replies on
// descriptor 16.  Values travel as their 4-byte in-memory images.  A short
// read at end of file leaves the rest of a value zero: the operation goes on
// with what arrived, and the next wait for an operation letter sees the end.
#pragma once

#include <string>
#include <vector>

#include "base/alloc.h"

namespace tgd {

// True once descriptor 15 has reached end of file inside an operation.
bool wire_eof();

int read_int();
float read_real();
char read_byte();

// n elements read into a fresh zeroed block.
template <class T>
Block<T> read_block(long long n);
// n floats read into a vector (allocated as my_calloc_floats allocates);
// after end of file inside them it holds only what arrived.
std::vector<float> read_floats(long long n);
extern template Block<int> read_block<int>(long long);
extern template Block<float> read_block<float>(long long);
extern template Block<char> read_block<char>(long long);

// n bytes of text in a block of n + 1, the last byte zero.
Block<char> read_terminated(int n);

// n bytes of text, kept exactly as sent.
std::string read_text(int n);

// int n, then n times (int len; text(len)).
std::vector<std::string> read_strings();

void reply_byte(char c);
void reply_int(int v);
void reply_real_pair(float a, float b);  // one write of 8 bytes
void reply_bytes(const void* data, long long bytes);

}  // namespace tgd
