#pragma once

// A point or direction in the gear's coordinates: x and y span the transverse plane, z runs along the axis.
// Plane points carry z = 0.

#include <cmath>

namespace kest::host {

template <typename T>
struct M3DVectorT {
    T x{}, y{}, z{};

    friend constexpr M3DVectorT operator+(const M3DVectorT& a, const M3DVectorT& b) noexcept {
        return {a.x + b.x, a.y + b.y, a.z + b.z};
    }
    friend constexpr M3DVectorT operator-(const M3DVectorT& a, const M3DVectorT& b) noexcept {
        return {a.x - b.x, a.y - b.y, a.z - b.z};
    }
    friend constexpr M3DVectorT operator-(const M3DVectorT& a) noexcept { return {-a.x, -a.y, -a.z}; }
    friend constexpr M3DVectorT operator*(const M3DVectorT& a, T s) noexcept {
        return {a.x * s, a.y * s, a.z * s};
    }
    friend constexpr M3DVectorT operator*(T s, const M3DVectorT& a) noexcept { return a * s; }
    friend constexpr bool operator==(const M3DVectorT& a, const M3DVectorT& b) noexcept = default;

    constexpr M3DVectorT& operator+=(const M3DVectorT& b) noexcept { return *this = *this + b; }
    constexpr M3DVectorT& operator-=(const M3DVectorT& b) noexcept { return *this = *this - b; }
    constexpr M3DVectorT& operator*=(T s) noexcept { return *this = *this * s; }

    constexpr T dot(const M3DVectorT& b) const noexcept { return x * b.x + y * b.y + z * b.z; }
    T length() const noexcept { return std::sqrt(dot(*this)); }
    // returns the zero vector for a vector of length zero.
    M3DVectorT normalized() const noexcept {
        const T l = length();
        return l == T{} ? M3DVectorT{} : M3DVectorT{x / l, y / l, z / l};
    }
};

} // namespace kest::host
