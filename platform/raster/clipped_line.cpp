#include "platform/raster/clipped_line.h"

#include <algorithm>

namespace {

// Offsets along the minor axis reach 2^32 and the extents 2^32 - 1, so the
// products of the clipping steps need up to 66 bits.
__extension__ using Int128 = __int128;

// ceil(num / den) for num >= 0, den > 0.
std::int64_t CeilDiv(Int128 num, std::int64_t den) {
    return static_cast<std::int64_t>((num + den - 1) / den);
}

// Steps i of [0, n) whose coordinate start + step * i lies in [0, limit).
void AxisRange(std::int64_t start, std::int64_t step, std::int64_t limit, std::int64_t* lo,
               std::int64_t* hi) {
    if (step > 0) {
        *lo = -start;
        *hi = limit - 1 - start;
    } else {
        *lo = start - (limit - 1);
        *hi = start;
    }
}

// n pixels from p on: a step of major each, and of minor too whenever the
// error term, kept below zero between steps, reaches zero. Everything in
// locals, so that the stores cannot make the compiler reload it.
inline void Walk(std::uint32_t* p, std::int64_t n, std::int64_t error, std::int64_t up,
                 std::int64_t down, std::ptrdiff_t major, std::ptrdiff_t minor,
                 std::uint32_t pixel) {
    const auto step = [&] {
        *p = pixel;
        p += major;
        error += up;
        if (error >= 0) {
            error -= down;
            p += minor;
        }
    };
    // Two pixels a round: half the loop's own cost per pixel.
    for (; n >= 2; n -= 2) {
        step();
        step();
    }
    if (n > 0) {
        step();
    }
}

}  // namespace

void CClippedLine::Fill(std::uint32_t* bits, std::int64_t stride, std::uint32_t pixel) const {
    if (m_count <= 0) {
        return;
    }
    std::uint32_t* const first = bits + m_y * stride + m_x;
    const std::int64_t error = m_rest - m_twoMajor;
    if (m_xMajor) {
        Walk(first, m_count, error, m_twoMinor, m_twoMajor, m_stepX, m_stepY * stride, pixel);
    } else {
        Walk(first, m_count, error, m_twoMinor, m_twoMajor, m_stepY * stride, m_stepX, pixel);
    }
}

CClippedLine::CClippedLine(LONG x0, LONG y0, LONG x1, LONG y1, LONG width, LONG height) {
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    m_stepX = dx < 0 ? -1 : 1;
    m_stepY = dy < 0 ? -1 : 1;
    const std::int64_t ax = dx < 0 ? -dx : dx;
    const std::int64_t ay = dy < 0 ? -dy : dy;
    m_xMajor = ax >= ay;
    const std::int64_t a = m_xMajor ? ax : ay;  // steps of the walk
    const std::int64_t b = m_xMajor ? ay : ax;
    m_twoMajor = 2 * a;
    m_twoMinor = 2 * b;
    if (a == 0 || width <= 0 || height <= 0) {
        return;  // nothing to walk, or nowhere to draw
    }

    const bool inside = x0 >= 0 && x0 < width && y0 >= 0 && y0 < height && x1 >= 0 && x1 < width &&
                        y1 >= 0 && y1 < height;
    if (inside) {
        // Every pixel lies in the box of the end points: nothing to clip.
        m_x = x0;
        m_y = y0;
        m_rest = a;
        m_count = a;
        return;
    }

    const std::int64_t u0 = m_xMajor ? x0 : y0;  // major axis
    const std::int64_t v0 = m_xMajor ? y0 : x0;  // minor axis
    const std::int64_t su = m_xMajor ? m_stepX : m_stepY;
    const std::int64_t sv = m_xMajor ? m_stepY : m_stepX;
    const std::int64_t uLimit = m_xMajor ? width : height;
    const std::int64_t vLimit = m_xMajor ? height : width;

    // Steps whose major coordinate is inside.
    std::int64_t first = 0;
    std::int64_t last = 0;
    AxisRange(u0, su, uLimit, &first, &last);
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, a - 1);

    // Minor offsets m that are inside; m(i) never decreases and stays in [0, b],
    // so these too form one run of steps.
    std::int64_t kLo = 0;
    std::int64_t kHi = 0;
    AxisRange(v0, sv, vLimit, &kLo, &kHi);
    if (kHi < 0 || kLo > b) {
        return;
    }
    if (b > 0) {
        // m(i) >= k  <=>  2*i*b >= a*(2k - 1)
        if (kLo > 0) {
            first = std::max(first, CeilDiv(Int128{a} * (2 * kLo - 1), 2 * b));
        }
        // m(i) <= k  <=>  not m(i) >= k + 1
        if (kHi < b) {
            last = std::min(last, CeilDiv(Int128{a} * (2 * kHi + 1), 2 * b) - 1);
        }
    }
    if (first > last) {
        return;
    }

    const Int128 term = Int128{2} * first * b + a;
    const std::int64_t m = static_cast<std::int64_t>(term / (2 * a));
    m_rest = static_cast<std::int64_t>(term % (2 * a));
    const std::int64_t u = u0 + su * first;
    const std::int64_t v = v0 + sv * m;
    m_x = static_cast<LONG>(m_xMajor ? u : v);
    m_y = static_cast<LONG>(m_xMajor ? v : u);
    m_count = last - first + 1;
}
