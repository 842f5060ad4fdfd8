#pragma once

#include <cstddef>
#include <cstdint>

// Four values in one vector register. GCC and Clang turn operators on their vector types into
// SIMD instructions on every target (and into plain code where there are none); other compilers
// (MSVC) get a plain struct with the same operators and the same results, lane by lane.
// WREN_PORTABLE_LANES selects the plain struct on GCC and Clang too, so that it is tested.
namespace wren {

#if (defined(__GNUC__) || defined(__clang__)) && !defined(WREN_PORTABLE_LANES)

using Floats = float __attribute__((vector_size(16)));
using Ints = int32_t __attribute__((vector_size(16)));

#else

template <typename T> struct Lanes4 {
    T lane[4];

    T& operator[](std::size_t i) { return lane[i]; }
    T operator[](std::size_t i) const { return lane[i]; }

    template <typename F> static Lanes4 Map(F f) { return {f(0), f(1), f(2), f(3)}; }

    friend Lanes4 operator+(Lanes4 a, Lanes4 b) {
        return Map([&](int i) { return a[i] + b[i]; });
    }
    friend Lanes4 operator-(Lanes4 a, Lanes4 b) {
        return Map([&](int i) { return a[i] - b[i]; });
    }
    friend Lanes4 operator*(Lanes4 a, Lanes4 b) {
        return Map([&](int i) { return a[i] * b[i]; });
    }
    friend Lanes4 operator/(Lanes4 a, Lanes4 b) {
        return Map([&](int i) { return a[i] / b[i]; });
    }
    friend Lanes4 operator&(Lanes4 a, Lanes4 b) {
        return Map([&](int i) { return a[i] & b[i]; });
    }
    friend Lanes4 operator|(Lanes4 a, Lanes4 b) {
        return Map([&](int i) { return a[i] | b[i]; });
    }
    friend Lanes4 operator~(Lanes4 a) {
        return Map([&](int i) { return ~a[i]; });
    }
    friend Lanes4 operator-(Lanes4 a) {
        return Map([&](int i) { return -a[i]; });
    }

    // A scalar on either side stands for four equal lanes, as with the compilers' vector types.
    static Lanes4 Broadcast(T s) { return {s, s, s, s}; }
    friend Lanes4 operator+(Lanes4 a, T s) { return a + Broadcast(s); }
    friend Lanes4 operator+(T s, Lanes4 a) { return Broadcast(s) + a; }
    friend Lanes4 operator-(Lanes4 a, T s) { return a - Broadcast(s); }
    friend Lanes4 operator-(T s, Lanes4 a) { return Broadcast(s) - a; }
    friend Lanes4 operator*(Lanes4 a, T s) { return a * Broadcast(s); }
    friend Lanes4 operator*(T s, Lanes4 a) { return Broadcast(s) * a; }
    friend Lanes4 operator/(Lanes4 a, T s) { return a / Broadcast(s); }
    friend Lanes4 operator&(Lanes4 a, T s) { return a & Broadcast(s); }
    friend Lanes4 operator|(Lanes4 a, T s) { return a | Broadcast(s); }

    Lanes4& operator+=(Lanes4 b) { return *this = *this + b; }
    Lanes4& operator-=(Lanes4 b) { return *this = *this - b; }
    Lanes4& operator*=(Lanes4 b) { return *this = *this * b; }

    // Comparisons give -1 in the lanes where they hold and 0 elsewhere.
    using Mask = Lanes4<int32_t>;
    template <typename F> static Mask Compare(F f) {
        return {f(0) ? -1 : 0, f(1) ? -1 : 0, f(2) ? -1 : 0, f(3) ? -1 : 0};
    }
    friend Mask operator<(Lanes4 a, Lanes4 b) {
        return Compare([&](int i) { return a[i] < b[i]; });
    }
    friend Mask operator>(Lanes4 a, Lanes4 b) {
        return Compare([&](int i) { return a[i] > b[i]; });
    }
    friend Mask operator<=(Lanes4 a, Lanes4 b) {
        return Compare([&](int i) { return a[i] <= b[i]; });
    }
    friend Mask operator>=(Lanes4 a, Lanes4 b) {
        return Compare([&](int i) { return a[i] >= b[i]; });
    }
    friend Mask operator==(Lanes4 a, Lanes4 b) {
        return Compare([&](int i) { return a[i] == b[i]; });
    }
    friend Mask operator!=(Lanes4 a, Lanes4 b) {
        return Compare([&](int i) { return a[i] != b[i]; });
    }
    friend Mask operator<(Lanes4 a, T s) { return a < Broadcast(s); }
    friend Mask operator>(Lanes4 a, T s) { return a > Broadcast(s); }
    friend Mask operator<=(Lanes4 a, T s) { return a <= Broadcast(s); }
    friend Mask operator>=(Lanes4 a, T s) { return a >= Broadcast(s); }
    friend Mask operator==(Lanes4 a, T s) { return a == Broadcast(s); }
    friend Mask operator!=(Lanes4 a, T s) { return a != Broadcast(s); }
};

using Floats = Lanes4<float>;
using Ints = Lanes4<int32_t>;

#endif

} // namespace wren
