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

// Narrows the steps [first, last] to those whose minor offset
// m(i) = round(i * b / a) lies in [kLo, kHi]; m(i) never decreases and stays
// in [0, b], so these too form one run. False when none is left.
bool NarrowToMinor(std::int64_t kLo, std::int64_t kHi, std::int64_t a, std::int64_t b,
                   std::int64_t* first, std::int64_t* last) {
    if (kHi < 0 || kLo > b) {
        return false;
    }
    if (b > 0) {
        // m(i) >= k  <=>  2*i*b >= a*(2k - 1)
        if (kLo > 0) {
            *first = std::max(*first, CeilDiv(Int128{a} * (2 * kLo - 1), 2 * b));
        }
        // m(i) <= k  <=>  not m(i) >= k + 1
        if (kHi < b) {
            *last = std::min(*last, CeilDiv(Int128{a} * (2 * kHi + 1), 2 * b) - 1);
        }
    }
    return *first <= *last;
}

}  // namespace

void CClippedLine::Clip(LONG x0, LONG y0, LONG width, LONG height, std::int64_t a, std::int64_t b) {
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

    // And whose minor offset is inside.
    std::int64_t kLo = 0;
    std::int64_t kHi = 0;
    AxisRange(v0, sv, vLimit, &kLo, &kHi);
    if (!NarrowToMinor(kLo, kHi, a, b, &first, &last)) {
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
