#include "sandbox.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <optional>

namespace fuzz {
namespace {

std::string root;
std::vector<std::string> kept;
bool active = false;

bool has_parent_component(const std::string& path) {
    std::size_t at = 0;
    while (at <= path.size()) {
        std::size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        if (path.compare(at, end - at, "..") == 0) return true;
        at = end + 1;
    }
    return false;
}

// The path the call is really made with; none when it is refused.
std::optional<std::string> confined(const char* path) {
    if (!active || path == nullptr) return std::string(path ? path : "");
    std::string p(path);
    for (const std::string& prefix : kept)
        if (!prefix.empty() && p.starts_with(prefix)) return p;
    if (has_parent_component(p)) return std::nullopt;
    if (p.starts_with("/")) return root + "/fs" + p;
    return p;
}

}  // namespace

void sandbox_init(const std::string& dir, std::vector<std::string> kept_prefixes) {
    root = dir;
    kept = std::move(kept_prefixes);
}

void sandbox_open() { active = true; }

void sandbox_close() { active = false; }

}  // namespace fuzz

// The wrapped calls.  Each maps its path and calls the real function; a
// refused path fails as an unwritable place would.
extern "C" {

FILE* __real_fopen(const char* path, const char* mode);
int __real_open(const char* path, int flags, ...);
int __real_creat(const char* path, mode_t mode);
int __real_access(const char* path, int mode);
int __real_stat(const char* path, struct stat* st);
int __real_lstat(const char* path, struct stat* st);
int __real_rename(const char* from, const char* to);
int __real_remove(const char* path);
int __real_unlink(const char* path);
int __real_mkstemp(char* templ);
int __real_mkostemp(char* templ, int flags);
int __real_system(const char* command);
void* __real_malloc(std::size_t size);
void* __real_calloc(std::size_t count, std::size_t size);
void* __real_realloc(void* block, std::size_t size);

#define CONFINE(var, path, failure) \
    std::optional<std::string> var = fuzz::confined(path); \
    if (!var) { \
        errno = EACCES; \
        return failure; \
    }

FILE* __wrap_fopen(const char* path, const char* mode) {
    CONFINE(p, path, nullptr);
    return __real_fopen(p->c_str(), mode);
}

int __wrap_open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    CONFINE(p, path, -1);
    return __real_open(p->c_str(), flags, mode);
}

int __wrap_creat(const char* path, mode_t mode) {
    CONFINE(p, path, -1);
    return __real_creat(p->c_str(), mode);
}

int __wrap_access(const char* path, int mode) {
    CONFINE(p, path, -1);
    return __real_access(p->c_str(), mode);
}

int __wrap_stat(const char* path, struct stat* st) {
    CONFINE(p, path, -1);
    return __real_stat(p->c_str(), st);
}

int __wrap_lstat(const char* path, struct stat* st) {
    CONFINE(p, path, -1);
    return __real_lstat(p->c_str(), st);
}

int __wrap_rename(const char* from, const char* to) {
    CONFINE(f, from, -1);
    CONFINE(t, to, -1);
    return __real_rename(f->c_str(), t->c_str());
}

int __wrap_remove(const char* path) {
    CONFINE(p, path, -1);
    return __real_remove(p->c_str());
}

int __wrap_unlink(const char* path) {
    CONFINE(p, path, -1);
    return __real_unlink(p->c_str());
}

// The template's X's are filled in the confined copy and copied back.
static int make_temp(char* templ, int (*make)(char*, int), int flags) {
    CONFINE(p, templ, -1);
    std::string copy = *p;
    int fd = make(copy.data(), flags);
    if (fd >= 0) {
        std::size_t n = std::strlen(templ);
        std::memcpy(templ, copy.data() + copy.size() - n, n);
    }
    return fd;
}

int __wrap_mkstemp(char* templ) {
    return make_temp(templ, [](char* t, int) { return __real_mkstemp(t); }, 0);
}

int __wrap_mkostemp(char* templ, int flags) {
    return make_temp(templ, [](char* t, int f) { return __real_mkostemp(t, f); }, flags);
}

static bool too_large(std::size_t bytes) { return fuzz::active && bytes > fuzz::kMaxBlock; }

void* __wrap_malloc(std::size_t size) {
    if (too_large(size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return __real_malloc(size);
}

void* __wrap_calloc(std::size_t count, std::size_t size) {
    std::size_t bytes = 0;
    if (!__builtin_mul_overflow(count, size, &bytes) && too_large(bytes)) {
        errno = ENOMEM;
        return nullptr;
    }
    return __real_calloc(count, size);
}

void* __wrap_realloc(void* block, std::size_t size) {
    if (too_large(size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return __real_realloc(block, size);
}

int __wrap_system(const char* command) { return fuzz::active ? 0 : __real_system(command); }

}  // extern "C"
