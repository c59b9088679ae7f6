// Unique output names.  mktempx and mktempseq only choose a name: the
// devices then open it for writing or rename an earlier file to it, and
// PostScript appending treats an existing file as an earlier document.
// In /tmp the devices create their files here, without following links.
#include "settings/mktempx.h"
#include "base/process_state.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <random>

namespace tgd {

namespace {

constexpr int mktemp_attempts = 1000;
constexpr std::size_t mktemp_random = 6;  // trailing X's replaced by each attempt
constexpr std::size_t max_letters = 4;    // further X's replaced by counter letters

std::array<char, max_letters> letters{'A', 'A', 'A', 'A'};
TempNameSource name_source;

std::string random_chars() {
    static constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string s(mktemp_random, ' ');
    for (char& c : s) c = alphabet[pick(engine)];
    return s;
}

std::size_t trailing_xs(const std::string& s) {
    std::size_t last = s.find_last_not_of('X');
    return last == std::string::npos ? s.size() : s.size() - last - 1;
}

enum class NameState { free, taken, unusable };

NameState state_of(const std::string& name) {
    struct stat st;
    if (::lstat(name.c_str(), &st) == 0) return NameState::taken;
    return errno == ENOENT ? NameState::free : NameState::unusable;
}

// The system's mktemp done here: the last six X's become characters from
// the name source until the name is free; the template becomes empty when
// it has fewer than six trailing X's or no attempt finds a free name.
void fill_unique(std::string& templ) {
    if (trailing_xs(templ) < mktemp_random) {
        templ.clear();
        return;
    }
    const std::size_t at = templ.size() - mktemp_random;
    for (int attempt = 0; attempt < mktemp_attempts; ++attempt) {
        std::string chars = name_source ? name_source() : random_chars();
        chars.resize(mktemp_random, 'X');
        templ.replace(at, mktemp_random, chars);
        NameState state = state_of(templ);
        if (state == NameState::free) return;
        if (state == NameState::unusable) break;  // e.g. the directory is missing or not searchable
    }
    templ.clear();
}

// The X's before the last six get the last n - 6 letters of the counter.
void write_letters(std::string& templ, std::size_t n) {
    const std::size_t count = n - mktemp_random;
    templ.replace(templ.size() - n, count, letters.data() + max_letters - count, count);
}

void advance_letters() {
    for (std::size_t i = max_letters; i-- > 0;) {
        if (letters[i] != 'Z') {
            ++letters[i];
            return;
        }
        letters[i] = 'A';  // carries into the letter before; out of the first it is dropped
    }
}

}  // namespace

std::string mktempx(std::string& templ) {
    const std::string copy = templ;
    const std::size_t n = std::min(trailing_xs(templ), mktemp_random + max_letters);
    if (n > mktemp_random) write_letters(templ, n);
    fill_unique(templ);
    if (n <= mktemp_random || !templ.empty()) return templ;
    // No free name with these letters: try once more with the next ones.
    advance_letters();
    templ = copy;
    write_letters(templ, n);
    fill_unique(templ);
    return templ;
}

std::optional<std::string> mktempseq(std::string_view templ, int& seq) {
    const std::size_t first = templ.find('#');
    if (first == std::string_view::npos) return std::nullopt;
    std::size_t end = templ.find_first_not_of('#', first);
    if (end == std::string_view::npos) end = templ.size();
    const std::size_t len = end - first;
    const std::size_t k = std::min<std::size_t>(len, 5);

    int limit = 1;
    for (std::size_t i = 0; i < k; ++i) limit *= 10;
    if (seq < 0 || seq >= limit) seq = 0;

    // The run as zeros with seq in its last k places.
    std::string name(templ);
    std::string digits = std::to_string(seq);
    digits.insert(0, k - digits.size(), '0');
    name.replace(first, len, std::string(len - k, '0') + digits);

    while (true) {
        // Count the run up by one.
        std::size_t i = end;
        while (true) {
            if (i == first) return std::nullopt;  // every number of the run is taken
            --i;
            if (name[i] != '9') {
                ++name[i];
                break;
            }
            name[i] = '0';
        }
        struct stat st;
        if (::stat(name.c_str(), &st) != 0) return name;
    }
}

std::FILE* open_own_file_append(const std::string& path, bool& refused) {
    refused = false;
    // Not blocking: a FIFO planted under the name must not stall the driver.
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    struct stat st;
    if (fd < 0) {
        refused = ::lstat(path.c_str(), &st) == 0;
        return nullptr;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || st.st_nlink != 1) {
        ::close(fd);
        refused = true;
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "a");
    if (file == nullptr) ::close(fd);
    return file;
}

std::FILE* create_unique_file(std::string& templ) {
    const std::string pattern = templ;
    for (int attempt = 0; attempt < mktemp_attempts; ++attempt) {
        templ = pattern;
        if (mktempx(templ).empty()) return nullptr;
        const int fd = ::open(templ.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;  // planted after the name was chosen
            return nullptr;
        }
        std::FILE* file = ::fdopen(fd, "w");
        if (file == nullptr) ::close(fd);
        return file;
    }
    return nullptr;
}

void set_temp_name_source(TempNameSource source) { name_source = std::move(source); }

std::string mktempx_letters() { return std::string(letters.data(), letters.size()); }

void reset_mktempx_letters() { letters.fill('A'); }

namespace {
const StateReset reset_state{[] {
    reset_mktempx_letters();
    set_temp_name_source({});
}};
}  // namespace

}  // namespace tgd
