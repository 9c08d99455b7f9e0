// The pixels a one-pixel line must cover, worked out here on their own, for
// the raster's test and its fuzz target to hold CClippedLine and LineTo to.
// Pure C++: the fuzz target builds it without GoogleTest.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace lunvik::test {

struct SLinePixel {
    std::int64_t x;
    std::int64_t y;
    bool operator==(const SLinePixel&) const = default;
};
using LinePixels = std::vector<SLinePixel>;

// The visible pixels of the line from p0 up to but not including p1 in a
// width x height buffer, in walk order. With a the longer and b the shorter
// extent, step i (0 <= i < a) lies i pixels along the longer axis and
// round(i * b / a) along the shorter one, halves rounded away from the start.
// Only the steps whose longer-axis coordinate falls inside the buffer are
// looked at, so that lines far too long to walk are worked out too.
inline LinePixels ReferenceLine(SLinePixel p0, SLinePixel p1, std::int64_t width,
                                std::int64_t height) {
    __extension__ using Int128 = __int128;
    const std::int64_t dx = p1.x - p0.x;
    const std::int64_t dy = p1.y - p0.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t a = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t b = xMajor ? std::llabs(dy) : std::llabs(dx);
    const std::int64_t su = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t sv = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t u0 = xMajor ? p0.x : p0.y;
    const std::int64_t v0 = xMajor ? p0.y : p0.x;
    const std::int64_t uLimit = xMajor ? width : height;
    const std::int64_t vLimit = xMajor ? height : width;
    // The steps i with u0 + su * i in [0, uLimit).
    const std::int64_t lo = std::max<std::int64_t>(su > 0 ? -u0 : u0 - (uLimit - 1), 0);
    const std::int64_t hi = std::min<std::int64_t>(su > 0 ? uLimit - 1 - u0 : u0, a - 1);
    LinePixels pixels;
    for (std::int64_t i = lo; i <= hi; ++i) {
        const auto m = static_cast<std::int64_t>((Int128{2} * i * b + a) / (Int128{2} * a));
        const std::int64_t u = u0 + su * i;
        const std::int64_t v = v0 + sv * m;
        if (v >= 0 && v < vLimit) {
            pixels.push_back(xMajor ? SLinePixel{u, v} : SLinePixel{v, u});
        }
    }
    return pixels;
}

}  // namespace lunvik::test
