// A point, direction, velocity or size in 3D, held and passed by value.
#pragma once

#include <cmath>

template <class T>
class CGridTmpl {
  public:
    CGridTmpl() = default;
    CGridTmpl(T x_, T y_, T z_) : x(x_), y(y_), z(z_) {}
    CGridTmpl(const CGridTmpl&) = default;
    CGridTmpl& operator=(const CGridTmpl&) = default;
    virtual ~CGridTmpl() = default;

    // The unit vector in the same direction; the zero vector stays zero
    // rather than turning into NaNs.
    CGridTmpl Normalized() const {
        const T length = std::sqrt(x * x + y * y + z * z);
        if (length == T{0}) {
            return CGridTmpl{};
        }
        return CGridTmpl{x / length, y / length, z / length};
    }

    T x{};
    T y{};
    T z{};
};

template <class T>
CGridTmpl<T> operator+(const CGridTmpl<T>& a, const CGridTmpl<T>& b) {
    return CGridTmpl<T>{a.x + b.x, a.y + b.y, a.z + b.z};
}

template <class T>
CGridTmpl<T> operator-(const CGridTmpl<T>& a, const CGridTmpl<T>& b) {
    return CGridTmpl<T>{a.x - b.x, a.y - b.y, a.z - b.z};
}

template <class T>
T Dot(const CGridTmpl<T>& a, const CGridTmpl<T>& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
