#include "deferred/fields.h"

namespace tgd {

EncoderLine encbfc_;
int encbfl_ = 0;
DecoderLine decbfc_;
DecoderState decbfl_;

std::string_view EncoderLine::used() const {
    return std::string_view(chars).substr(0, static_cast<std::size_t>(encbfl_));
}

void enci00_(std::int32_t, std::int32_t) {}
void enci01_(std::uint64_t, int, std::string&, bool, int& ndigits) { ndigits = 0; }
void encr00_(float, std::int32_t, std::int32_t, std::int32_t) {}
void encf00_(float, int, int) {}
void ence00_(float, int, int, int) {}
void rdtfmt_(std::span<const float>, int&, int&, int&) {}
void encs00_(std::string_view, int) {}
void encs01_(std::string_view, int, int, int) {}
int decs00_(int, std::span<char>) { return -1; }
void decsp0_(int& result) { result = 0; }
bool begfld_() { return false; }
int getfld_() { return 0; }
int strtok_() { return 0; }
void decerr_(std::string_view) {}

}  // namespace tgd
