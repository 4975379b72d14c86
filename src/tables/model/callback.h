// TCallback: a std::function that can be compared, so that a struct made of
// them (the engine's services, its pending work) compares whole with a
// defaulted operator==. Two callbacks are equal when both are empty or both
// hold the same plain function; a lambda equals nothing but emptiness. That
// is all a reset needs to be checked against: "as fresh" means empty.
#pragma once

#include <cstddef>
#include <functional>
#include <utility>

namespace kova::tables {

template <class Signature>
class TCallback : public std::function<Signature> {
    using Base = std::function<Signature>;

public:
    using Base::Base;
    TCallback() = default;
    TCallback(Base f) : Base(std::move(f)) {}

    friend bool operator==(const TCallback& a, const TCallback& b) {
        if (!a || !b) return !a && !b;
        using Plain = Signature*;
        const Plain* pa = a.template target<Plain>();
        const Plain* pb = b.template target<Plain>();
        return pa && pb && *pa == *pb;
    }
    friend bool operator==(const TCallback& a, std::nullptr_t) { return !a; }
};

}  // namespace kova::tables
