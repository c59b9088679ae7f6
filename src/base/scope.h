// Scope guards: what must be undone when a scope ends is undone however it
// ends, by return, by an exception or by an abandoned operation.
#pragma once

#include <utility>

namespace tgd {

// Calls its function when the scope ends.
template <class F>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() { f_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F f_;
};

// Keeps a variable's value and puts it back when the scope ends; the
// variable may be changed meanwhile (a parameter entry a drawing changes
// only for its own duration).
template <class T>
class [[nodiscard]] ValueKept {
public:
    explicit ValueKept(T& variable) : variable_(variable), saved_(variable) {}
    // Sets the variable to value for the scope.
    ValueKept(T& variable, T value) : ValueKept(variable) { variable_ = std::move(value); }
    ~ValueKept() { variable_ = std::move(saved_); }
    ValueKept(const ValueKept&) = delete;
    ValueKept& operator=(const ValueKept&) = delete;

private:
    T& variable_;
    T saved_;
};

}  // namespace tgd
