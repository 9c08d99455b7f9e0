// One-pixel lines: clipping must not change which pixels a segment covers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "platform/raster/clipped_line.h"
#include "platform/raster/raster.h"

namespace {

__extension__ using Int128 = __int128;
using Pixels = std::vector<std::pair<LONG, LONG>>;

constexpr LONG kMin = std::numeric_limits<LONG>::min();
constexpr LONG kMax = std::numeric_limits<LONG>::max();
constexpr std::uint32_t kBlack = 0xFF000000u;

struct Segment {
    LONG x0, y0, x1, y1;
    LONG width, height;
};

// The pixels of the whole, unclipped line that fall inside the buffer, in walk
// order, end point left out. Walked: textbook Bresenham over every step, ties
// stepping the minor axis. Not walked: the same line solved for each of the
// buffer's columns (rows), which works for segments far too long to walk.
Pixels Reference(const Segment& s, bool walk) {
    const std::int64_t dx = std::int64_t{s.x1} - s.x0;
    const std::int64_t dy = std::int64_t{s.y1} - s.y0;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t a = std::abs(xMajor ? dx : dy);
    const std::int64_t b = std::abs(xMajor ? dy : dx);
    const std::int64_t su = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t sv = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t u0 = xMajor ? s.x0 : s.y0;
    const std::int64_t v0 = xMajor ? s.y0 : s.x0;
    const std::int64_t uLimit = xMajor ? s.width : s.height;
    const std::int64_t vLimit = xMajor ? s.height : s.width;
    Pixels out;
    const auto keep = [&](std::int64_t u, std::int64_t v) {
        if (u >= 0 && u < uLimit && v >= 0 && v < vLimit) {
            out.emplace_back(static_cast<LONG>(xMajor ? u : v), static_cast<LONG>(xMajor ? v : u));
        }
    };
    if (walk) {
        for (std::int64_t i = 0, v = v0, err = 0; i < a; ++i) {
            keep(u0 + su * i, v);
            err += 2 * b;
            if (err >= a) {
                v += sv;
                err -= 2 * a;
            }
        }
        return out;
    }
    for (std::int64_t k = 0; k < uLimit; ++k) {
        const std::int64_t u = su > 0 ? k : uLimit - 1 - k;
        const std::int64_t i = (u - u0) * su;
        if (i >= 0 && i < a) {
            keep(u, v0 + sv * static_cast<std::int64_t>((Int128{2} * i * b + a) / (Int128{2} * a)));
        }
    }
    return out;
}

Pixels Clipped(const Segment& s) {
    Pixels out;
    CClippedLine(s.x0, s.y0, s.x1, s.y1, s.width, s.height).ForEach([&](LONG x, LONG y) {
        out.emplace_back(x, y);
    });
    return out;
}

// Random segments around a small buffer. Short ones (walkable) cover every
// octant, inside, outside and across corners, one in eight each flat, upright,
// diagonal or empty. Long ones have ends anywhere in the 32-bit range, at its
// limits, within a few million or near the buffer.
Segment RandomSegment(std::mt19937& rng, bool walkable) {
    const auto pick = [&](LONG lo, LONG hi) {
        return std::uniform_int_distribution<LONG>(lo, hi)(rng);
    };
    Segment s{0, 0, 0, 0, pick(1, 48), pick(1, 48)};
    const auto end = [&](LONG size) {
        if (walkable) {
            return pick(-40, size + 40);
        }
        const LONG kind = pick(0, 3);
        const LONG lo[] = {kMin, kMin, -2'000'000, -3};
        const LONG hi[] = {kMax, kMax, 2'000'000, size + 3};
        const LONG v = pick(lo[kind], hi[kind]);
        return kind == 1 ? (v < 0 ? kMin : kMax) : v;
    };
    s = {end(s.width), end(s.height), end(s.width), end(s.height), s.width, s.height};
    const LONG shape = pick(0, 7);
    s.y1 = walkable && (shape == 0 || shape == 3) ? s.y0 : s.y1;
    s.x1 = walkable && (shape == 1 || shape == 3) ? s.x0 : s.x1;
    s.y1 = walkable && shape == 2 ? s.y0 + (pick(0, 1) ? 1 : -1) * (s.x1 - s.x0) : s.y1;
    if (!walkable && shape < 2) {
        // Aim the far end at a point just past the buffer so the line crosses it.
        const auto across = [&](LONG from, LONG size) {
            return static_cast<LONG>(
                std::clamp<std::int64_t>(std::int64_t{pick(-1, size)} * 2 - from, kMin, kMax));
        };
        s.x1 = across(s.x0, s.width);
        s.y1 = across(s.y0, s.height);
    }
    return s;
}

// A memory context drawing into a bitmap of its own with a pen of its own.
struct CCanvas {
    CCanvas(LONG width, LONG height, COLORREF ink)
        : m_dc(CreateCompatibleDC(GetDC(nullptr))),
          m_bitmap(CreateCompatibleBitmap(m_dc, width, height)),
          m_pen(CreatePen(PS_SOLID, 1, ink)),
          m_ink(PixelFromColor(ink)) {
        SelectObject(m_dc, m_bitmap);
        SelectObject(m_dc, m_pen);
    }
    ~CCanvas() { EXPECT_TRUE(DeleteDC(m_dc) && DeleteObject(m_bitmap) && DeleteObject(m_pen)); }
    void Line(LONG x0, LONG y0, LONG x1, LONG y1) {
        MoveToEx(m_dc, x0, y0, nullptr);
        LineTo(m_dc, x1, y1);
    }
    std::uint32_t At(LONG x, LONG y) const { return m_bitmap->m_bits[y * m_bitmap->m_width + x]; }
    std::size_t Lit() const {
        const std::int64_t size = std::int64_t{m_bitmap->m_width} * m_bitmap->m_height;
        return size - std::count(m_bitmap->m_bits, m_bitmap->m_bits + size, kBlack);
    }

    HDC m_dc;
    HBITMAP m_bitmap;
    HPEN m_pen;
    std::uint32_t m_ink;
};

TEST(RasterLine, ClippedLineHitsExactlyTheUnclippedPixelsInsideTheBuffer) {
    std::mt19937 rng(20240611);
    // One real context as well, so that LineTo itself is held to the same pixels.
    CCanvas canvas(48, 48, RGB(255, 255, 255));
    int failures = 0;
    for (int n = 0; n < 120'000 && failures < 10; ++n) {
        const bool walkable = n % 3 != 0;
        const Segment s = RandomSegment(rng, walkable);
        const Pixels expected = Reference(s, walkable);
        EXPECT_TRUE(!walkable || Reference(s, false) == expected) << "the references disagree";
        bool same = Clipped(s) == expected;
        if (n % 2 == 0) {
            // The context's bitmap is 48 x 48, whatever size the segment was drawn for.
            const Pixels want = Reference({s.x0, s.y0, s.x1, s.y1, 48, 48}, walkable);
            canvas.Line(s.x0, s.y0, s.x1, s.y1);
            same = same && canvas.Lit() == want.size();
            for (const auto& [x, y] : want) {
                same = same && canvas.At(x, y) == canvas.m_ink;
            }
            SelectObject(canvas.m_dc, GetStockObject(BLACK_BRUSH));
            PatBlt(canvas.m_dc, 0, 0, 48, 48, PATCOPY);
        }
        if (!same) {
            ++failures;
            ADD_FAILURE() << "segment (" << s.x0 << ", " << s.y0 << ") -> (" << s.x1 << ", " << s.y1
                          << ") in " << s.width << " x " << s.height << " hit other pixels";
        }
    }
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
        EXPECT_EQ(Clipped(s), Reference(s, false));
    }
}

TEST(RasterDrawing, PatBltIsClippedToItsBitmapAndEmptyHandlesDoNothing) {
    CCanvas canvas(64, 40, RGB(0, 0, 0));
    SelectObject(canvas.m_dc, GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(PatBlt(canvas.m_dc, -10, -10, 84, 60, PATCOPY));
    EXPECT_EQ(canvas.Lit(), 64u * 40u);
    SelectObject(canvas.m_dc, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(PatBlt(canvas.m_dc, 60, 38, 10, 10, PATCOPY));  // corner only
    EXPECT_EQ(canvas.Lit(), 64u * 40u - 4 * 2);

    EXPECT_FALSE(PatBlt(nullptr, 0, 0, 1, 1, PATCOPY));
    EXPECT_FALSE(LineTo(nullptr, 5, 5));
    EXPECT_FALSE(BitBlt(canvas.m_dc, 0, 0, 5, 5, nullptr, 0, 0, SRCCOPY));
    EXPECT_EQ(CreateCompatibleBitmap(canvas.m_dc, 1 << 16, 1 << 16), nullptr);  // 2^32 pixels
}

}  // namespace
