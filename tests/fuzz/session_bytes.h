// A host session as the bytes the host sends on descriptor 15: operation
// letters, 4-byte native integers and reals, texts with their length.  The
// fuzz seeds are written with it and the hostile-input tests send it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tgdtest {

// Self is the class that builds on it, so that chained calls keep its own
// additions in reach.
template <class Self>
class BasicSessionBytes {
public:
    Self& op(char c) { return raw(std::string(1, c)); }
    Self& raw(const std::string& s) {
        bytes_ += s;
        return self();
    }
    Self& i32(std::int32_t v) { return put(&v, sizeof v); }
    Self& real(float v) { return put(&v, sizeof v); }
    Self& reals(const std::vector<float>& v) {
        for (float f : v) real(f);
        return self();
    }
    Self& ints(const std::vector<std::int32_t>& v) {
        for (std::int32_t i : v) i32(i);
        return self();
    }
    // int length, then the bytes.
    Self& text(const std::string& s) { return i32(static_cast<std::int32_t>(s.size())).raw(s); }
    // int n, then n texts.
    Self& strings(const std::vector<std::string>& list) {
        i32(static_cast<std::int32_t>(list.size()));
        for (const auto& s : list) text(s);
        return self();
    }
    Self& xy(char c, const std::vector<float>& x, const std::vector<float>& y) {
        return op(c).i32(static_cast<std::int32_t>(x.size())).reals(x).reals(y);
    }
    // 'z' 'p' and a PostScript option letter; its data follows.
    Self& ps_option(char letter) { return raw("zp").op(letter); }
    // 's' with a printing-options text.
    Self& print(const std::string& options) { return op('s').text(options); }

    const std::string& bytes() const { return bytes_; }

private:
    Self& self() { return static_cast<Self&>(*this); }
    Self& put(const void* p, std::size_t n) {
        bytes_.append(static_cast<const char*>(p), n);
        return self();
    }
    std::string bytes_;
};

class SessionBytes final : public BasicSessionBytes<SessionBytes> {};

}  // namespace tgdtest
