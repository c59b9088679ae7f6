#include "base/chars.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include <unistd.h>

#include "base/abandon.h"
#include "base/record_io.h"

namespace tgd {

int iascii_(int c, int mode) {
    if (mode == 1 && c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (mode == 2 && c >= 'A' && c <= 'Z') return c - 'A' + 'a';
    return c;
}

void jgetch_(char& out, const char* string, int position) { out = string[position - 1]; }

void jputch_(char* string, int position, char c) { string[position - 1] = c; }

void concat_(char* destination, int dpos, const char* source, int spos, int length) {
    if (length <= 0) return;
    std::memmove(destination + (dpos - 1), source + (spos - 1), static_cast<std::size_t>(length));
}

int islen2_(const char* string, int start) {
    constexpr int limit = 511;
    const char* s = string + (start - 1);
    for (int n = 0; n < limit; ++n) {
        if (s[n] == '\0') return n;
    }
    return limit;
}

int islenz_(const char* string) { return islen2_(string, 1); }

void lfill_(std::int32_t value, std::int32_t* array, int count) {
    if (count < 0) {
        ptline_(2, "Error: lfill: no. of items < 0");
        zzabt_();
    }
    std::fill_n(array, count, value);
}

void* sbcopy(const void* source, void* destination, std::ptrdiff_t count) {
    if (count > 0 && source != destination) {
        std::memmove(destination, source, static_cast<std::size_t>(count));
    }
    return destination;
}

int TX_isyes(const char* string) {
    if (string == nullptr) return 0;
    std::string word;
    for (std::size_t i = 0; i < 10 && string[i] != '\0'; ++i) {
        word += static_cast<char>(iascii_(static_cast<unsigned char>(string[i]), 2));
    }
    return word == "y" || word == "t" || word == "1" || word == "yes" || word == "on" || word == "true" ? 1 : 0;
}

void TX_dumpbuf(int fd, const char* label, const void* bytes, int count) {
    const std::string head = label == nullptr ? std::string("TX_dumpbuf: ") : std::string(label, strnlen(label, 30));
    std::string line = head;
    auto flush = [&] {
        line += '\n';
        [[maybe_unused]] auto n = ::write(fd, line.data(), line.size());
        line = head;
    };
    const auto* p = static_cast<const unsigned char*>(bytes);
    bool pending = count < 1;  // the label alone still makes a line
    for (int i = 0; i < count; ++i) {
        unsigned char c = p[i];
        bool plain = c < 128 && (std::isalnum(c) || std::ispunct(c)) && c != '{' && c != '}';
        if (plain) {
            line += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "{%02x}", c);
            line += hex;
        }
        pending = true;
        if (line.size() >= 72) {
            flush();
            pending = false;
        }
    }
    if (pending) flush();
}

}  // namespace tgd
