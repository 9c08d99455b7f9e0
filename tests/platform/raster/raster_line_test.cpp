// One-pixel lines: clipping must not change which pixels a segment covers,
// and must cost what is visible, not the segment's length. Random lines
// against the same reference, through LineTo, are the fuzz target's
// (fuzz/raster_fuzz.cpp), which tries any coordinates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/raster/clipped_line.h"
#include "platform/raster/raster.h"
#include "tests/support/reference_line.h"

namespace {

using lunvik::test::LinePixels;

constexpr LONG kMin = std::numeric_limits<LONG>::min();
constexpr LONG kMax = std::numeric_limits<LONG>::max();

struct Segment {
    LONG x0, y0, x1, y1;
    LONG width, height;
};

// The pixels of the whole, unclipped line that fall inside the buffer.
LinePixels Reference(const Segment& s) {
    return lunvik::test::ReferenceLine({s.x0, s.y0}, {s.x1, s.y1}, s.width, s.height);
}

LinePixels Clipped(const Segment& s) {
    LinePixels out;
    CClippedLine(s.x0, s.y0, s.x1, s.y1, s.width, s.height).ForEach([&](LONG x, LONG y) {
        out.push_back({x, y});
    });
    return out;
}

TEST(RasterLine, CostFollowsTheVisiblePixelsNotTheLength) {
    const LONG w = 640, h = 480;
    const Segment segments[] = {
        {kMin, kMin, kMax, kMax, w, h},          // the whole diagonal of the 32-bit plane
        {kMax, kMax, kMin, kMin, w, h},          // and backwards
        {kMin, kMin + 7, kMax, kMax - 3, w, h},  // a hair off the diagonal
        {kMin, 17, kMax, 300, w, h},             // nearly flat, crossing the buffer
        {-5, kMin, 600, kMax, w, h},             // nearly vertical
        {kMin, kMax, kMax, kMin, w, h},          // anti-diagonal, misses the buffer
    };
    for (const Segment& s : segments) {
        const CClippedLine line(s.x0, s.y0, s.x1, s.y1, s.width, s.height);
        std::int64_t iterations = 0;
        line.ForEach([&](LONG, LONG) { ++iterations; });
        EXPECT_EQ(iterations, line.Count());
        EXPECT_LE(iterations, w + h);
        EXPECT_EQ(Clipped(s), Reference(s));
    }
}

// (The program's own use, a whole buffer, is the view test's.)
TEST(RasterDrawing, EmptyHandlesAndBitmapsTooLargeToAddressAreRefused) {
    const HDC dc = CreateCompatibleDC(GetDC(nullptr));
    EXPECT_FALSE(PatBlt(nullptr, 0, 0, 1, 1, PATCOPY));
    EXPECT_FALSE(LineTo(nullptr, 5, 5));
    EXPECT_FALSE(BitBlt(dc, 0, 0, 5, 5, nullptr, 0, 0, SRCCOPY));
    EXPECT_EQ(CreateCompatibleBitmap(dc, 1 << 16, 1 << 16), nullptr);  // 2^32 pixels
    EXPECT_TRUE(DeleteDC(dc));
}

}  // namespace
