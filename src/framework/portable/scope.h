// Scope guards: work that must run however a scope ends (return, break,
// exception), written once for the program.
#pragma once

#include <type_traits>
#include <utility>

namespace kova {

// Runs a function when the scope ends.
template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F f) : f_(std::move(f)) {}
    ~TScopeExit() {
        if (armed_) f_();
    }
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    // The work is no longer needed (it was done another way).
    void Dismiss() { armed_ = false; }

private:
    F f_;
    bool armed_ = true;
};

// Gives a flag (or any value) a value for the scope and its previous value
// back afterwards, so that nested scopes leave the outer one's value.
template <class T>
class TFlagScope {
public:
    TFlagScope(T& flag, std::type_identity_t<T> value) : flag_(flag), saved_(flag) { flag_ = std::move(value); }
    ~TFlagScope() { flag_ = std::move(saved_); }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    T& flag_;
    T saved_;
};

}  // namespace kova
