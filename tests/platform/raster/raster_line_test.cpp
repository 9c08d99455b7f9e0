// One-pixel lines: clipping must not change which pixels a segment covers.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
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

struct Segment {
    LONG x0, y0, x1, y1;
    LONG width, height;
};

// Textbook Bresenham over the whole segment, end point left out, keeping the
// pixels inside the buffer. Ties step the minor axis (err == a).
Pixels WalkReference(const Segment& s) {
    Pixels out;
    const std::int64_t dx = std::int64_t{s.x1} - s.x0;
    const std::int64_t dy = std::int64_t{s.y1} - s.y0;
    const std::int64_t ax = dx < 0 ? -dx : dx;
    const std::int64_t ay = dy < 0 ? -dy : dy;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    std::int64_t x = s.x0;
    std::int64_t y = s.y0;
    std::int64_t err = 0;
    const bool xMajor = ax >= ay;
    const std::int64_t steps = xMajor ? ax : ay;
    for (std::int64_t i = 0; i < steps; ++i) {
        if (x >= 0 && x < s.width && y >= 0 && y < s.height) {
            out.emplace_back(static_cast<LONG>(x), static_cast<LONG>(y));
        }
        if (xMajor) {
            x += sx;
            err += 2 * ay;
            if (err >= ax) {
                y += sy;
                err -= 2 * ax;
            }
        } else {
            y += sy;
            err += 2 * ax;
            if (err >= ay) {
                x += sx;
                err -= 2 * ay;
            }
        }
    }
    return out;
}

// The same line evaluated column by column (or row by row) of the buffer, in
// walk order: works for segments far too long to walk.
Pixels ClosedFormReference(const Segment& s) {
    Pixels out;
    const std::int64_t dx = std::int64_t{s.x1} - s.x0;
    const std::int64_t dy = std::int64_t{s.y1} - s.y0;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const std::int64_t du = xMajor ? dx : dy;
    const std::int64_t dv = xMajor ? dy : dx;
    const std::int64_t a = du < 0 ? -du : du;
    const std::int64_t b = dv < 0 ? -dv : dv;
    const std::int64_t su = du < 0 ? -1 : 1;
    const std::int64_t sv = dv < 0 ? -1 : 1;
    const std::int64_t u0 = xMajor ? s.x0 : s.y0;
    const std::int64_t v0 = xMajor ? s.y0 : s.x0;
    const std::int64_t uLimit = xMajor ? s.width : s.height;
    const std::int64_t vLimit = xMajor ? s.height : s.width;
    for (std::int64_t k = 0; k < uLimit; ++k) {
        const std::int64_t u = su > 0 ? k : uLimit - 1 - k;
        const std::int64_t i = (u - u0) * su;
        if (i < 0 || i >= a) {
            continue;
        }
        const auto m = static_cast<std::int64_t>((Int128{2} * i * b + a) / (Int128{2} * a));
        const std::int64_t v = v0 + sv * m;
        if (v >= 0 && v < vLimit) {
            out.emplace_back(static_cast<LONG>(xMajor ? u : v), static_cast<LONG>(xMajor ? v : u));
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

class CSegmentSource {
  public:
    explicit CSegmentSource(std::uint32_t seed) : m_rng(seed) {}

    // Short segments near a small buffer: walkable, every octant, inside,
    // outside and across corners, with axis-parallel, diagonal and empty ones.
    Segment Short() {
        Segment s{};
        s.width = Pick(1, 48);
        s.height = Pick(1, 48);
        s.x0 = Pick(-40, s.width + 40);
        s.y0 = Pick(-40, s.height + 40);
        s.x1 = Pick(-40, s.width + 40);
        s.y1 = Pick(-40, s.height + 40);
        switch (Pick(0, 7)) {
            case 0:
                s.y1 = s.y0;
                break;
            case 1:
                s.x1 = s.x0;
                break;
            case 2: {
                const LONG d = s.x1 - s.x0;
                s.y1 = s.y0 + (Pick(0, 1) != 0 ? d : -d);
                break;
            }
            case 3:
                if (Pick(0, 3) == 0) {
                    s.x1 = s.x0;
                    s.y1 = s.y0;
                }
                break;
            default:
                break;
        }
        return s;
    }

    // Segments with ends anywhere in the 32-bit range, many of them through
    // the buffer, some from corner to corner of the range.
    Segment Long() {
        Segment s{};
        s.width = Pick(1, 64);
        s.height = Pick(1, 64);
        auto end = [&](LONG near) {
            switch (Pick(0, 3)) {
                case 0:
                    return Pick(kMin, kMax);
                case 1:
                    return Pick(0, 1) != 0 ? kMin : kMax;
                case 2:
                    return Pick(-2'000'000, 2'000'000);
                default:
                    return Pick(-3, near + 3);
            }
        };
        s.x0 = end(s.width);
        s.y0 = end(s.height);
        s.x1 = end(s.width);
        s.y1 = end(s.height);
        if (Pick(0, 3) == 0) {
            // Aim the far end at a point just past the buffer so the line crosses it.
            const LONG tx = Pick(-1, s.width);
            const LONG ty = Pick(-1, s.height);
            s.x1 = static_cast<LONG>(std::max<std::int64_t>(
                kMin, std::min<std::int64_t>(kMax, std::int64_t{tx} * 2 - s.x0)));
            s.y1 = static_cast<LONG>(std::max<std::int64_t>(
                kMin, std::min<std::int64_t>(kMax, std::int64_t{ty} * 2 - s.y0)));
        }
        return s;
    }

  private:
    LONG Pick(LONG lo, LONG hi) { return std::uniform_int_distribution<LONG>(lo, hi)(m_rng); }

    std::mt19937 m_rng;
};

std::size_t LitPixels(HBITMAP bitmap) {
    std::size_t lit = 0;
    for (std::int64_t i = 0; i < std::int64_t{bitmap->m_width} * bitmap->m_height; ++i) {
        lit += bitmap->m_bits[i] != PixelFromColor(RGB(0, 0, 0)) ? 1 : 0;
    }
    return lit;
}

TEST(RasterLine, ClippedLineHitsExactlyTheUnclippedPixelsInsideTheBuffer) {
    const std::uint32_t seed = 20240611;
    std::printf("segment seed %u\n", seed);
    CSegmentSource source(seed);

    // One real context as well, so that LineTo itself is held to the same pixels.
    const HDC dc = CreateCompatibleDC(GetDC(nullptr));
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, 48, 48);
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    SelectObject(dc, bitmap);
    SelectObject(dc, pen);

    int failures = 0;
    for (int n = 0; n < 120'000 && failures < 10; ++n) {
        const bool walkable = n % 3 != 0;
        const Segment s = walkable ? source.Short() : source.Long();
        const Pixels expected = walkable ? WalkReference(s) : ClosedFormReference(s);
        if (walkable && ClosedFormReference(s) != expected) {
            ADD_FAILURE() << "the two references disagree";
        }
        const Pixels got = Clipped(s);
        if (got != expected) {
            ++failures;
            ADD_FAILURE() << "segment (" << s.x0 << ", " << s.y0 << ") -> (" << s.x1 << ", " << s.y1
                          << ") in " << s.width << " x " << s.height << ": " << got.size()
                          << " pixels, expected " << expected.size();
        }
        if (n % 8 == 0) {
            // The context's bitmap is 48 x 48, whatever size the segment was drawn for.
            const Segment full{s.x0, s.y0, s.x1, s.y1, 48, 48};
            const Pixels want = walkable ? WalkReference(full) : ClosedFormReference(full);
            MoveToEx(dc, s.x0, s.y0, nullptr);
            LineTo(dc, s.x1, s.y1);
            bool all = LitPixels(bitmap) == want.size();
            for (const auto& [x, y] : want) {
                all = all && bitmap->m_bits[y * 48 + x] == PixelFromColor(RGB(255, 255, 255));
            }
            if (!all) {
                ++failures;
                ADD_FAILURE() << "LineTo (" << s.x0 << ", " << s.y0 << ") -> (" << s.x1 << ", "
                              << s.y1 << ") set other pixels";
            }
            SelectObject(dc, GetStockObject(BLACK_BRUSH));
            PatBlt(dc, 0, 0, 48, 48, PATCOPY);
        }
    }
    DeleteDC(dc);
    DeleteObject(bitmap);
    DeleteObject(pen);
}

TEST(RasterLine, CostFollowsTheVisiblePixelsNotTheLength) {
    const LONG w = 640;
    const LONG h = 480;
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
        EXPECT_EQ(Clipped(s), ClosedFormReference(s));
    }

    // The diagonal through the plane's corners covers the buffer's diagonal.
    const HDC dc = CreateCompatibleDC(GetDC(nullptr));
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    SelectObject(dc, bitmap);
    SelectObject(dc, pen);
    MoveToEx(dc, kMin, kMin, nullptr);
    LineTo(dc, kMax, kMax);
    EXPECT_EQ(LitPixels(bitmap), static_cast<std::size_t>(h));
    for (LONG i = 0; i < h; ++i) {
        EXPECT_EQ(bitmap->m_bits[i * w + i], PixelFromColor(RGB(0, 255, 0)));
    }
    DeleteDC(dc);
    DeleteObject(bitmap);
    DeleteObject(pen);
}

class RasterDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dc = CreateCompatibleDC(GetDC(nullptr));
        m_bitmap = CreateCompatibleBitmap(m_dc, kWidth, kHeight);
        m_pen = CreatePen(PS_SOLID, 1, RGB(0x12, 0x34, 0x56));
        m_erase = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        SelectObject(m_dc, m_bitmap);
        SelectObject(m_dc, m_pen);
    }
    void TearDown() override {
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
        DeleteObject(m_pen);
        DeleteObject(m_erase);
    }
    std::uint32_t At(LONG x, LONG y) const { return m_bitmap->m_bits[y * kWidth + x]; }
    void Line(LONG x0, LONG y0, LONG x1, LONG y1) {
        MoveToEx(m_dc, x0, y0, nullptr);
        LineTo(m_dc, x1, y1);
    }

    static constexpr LONG kWidth = 64;
    static constexpr LONG kHeight = 40;
    static constexpr std::uint32_t kInk = 0xFF123456;  // RGB(0x12, 0x34, 0x56) as stored
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HPEN m_pen = nullptr;
    HPEN m_erase = nullptr;
};

TEST_F(RasterDrawing, LineLeavesOutItsEndPointAndMovesTheCurrentPoint) {
    Line(2, 3, 7, 3);
    EXPECT_EQ(LitPixels(m_bitmap), 5u);
    EXPECT_EQ(At(2, 3), kInk);
    EXPECT_EQ(At(6, 3), kInk);
    EXPECT_EQ(At(7, 3), 0xFF000000u);

    // The next line starts where the last one ended.
    LineTo(m_dc, 7, 10);
    EXPECT_EQ(At(7, 3), kInk);
    EXPECT_EQ(At(7, 9), kInk);
    EXPECT_EQ(At(7, 10), 0xFF000000u);
    POINT previous;
    MoveToEx(m_dc, 0, 0, &previous);
    EXPECT_EQ(previous.x, 7);
    EXPECT_EQ(previous.y, 10);

    // A segment whose ends are the same pixel paints nothing.
    const std::size_t before = LitPixels(m_bitmap);
    Line(30, 30, 30, 30);
    EXPECT_EQ(LitPixels(m_bitmap), before);
}

TEST_F(RasterDrawing, RedrawingInTheErasePenLeavesBlack) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<LONG> coord(-300, 300);
    std::vector<Segment> drawn;
    for (int i = 0; i < 400; ++i) {
        drawn.push_back({coord(rng), coord(rng), coord(rng), coord(rng), kWidth, kHeight});
        Line(drawn.back().x0, drawn.back().y0, drawn.back().x1, drawn.back().y1);
    }
    ASSERT_GT(LitPixels(m_bitmap), 500u);
    SelectObject(m_dc, m_erase);
    for (const Segment& s : drawn) {
        Line(s.x0, s.y0, s.x1, s.y1);
    }
    EXPECT_EQ(LitPixels(m_bitmap), 0u);
}

TEST_F(RasterDrawing, PatBltFillsWithTheSelectedBrushClippedToTheBitmap) {
    SelectObject(m_dc, GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(PatBlt(m_dc, -10, -10, kWidth + 20, kHeight + 20, PATCOPY));
    EXPECT_EQ(LitPixels(m_bitmap), static_cast<std::size_t>(kWidth * kHeight));
    EXPECT_EQ(At(0, 0), 0xFFFFFFFFu);

    SelectObject(m_dc, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(PatBlt(m_dc, 60, 38, 10, 10, PATCOPY));  // corner only
    EXPECT_EQ(LitPixels(m_bitmap), static_cast<std::size_t>(kWidth * kHeight - 4 * 2));
    EXPECT_TRUE(PatBlt(m_dc, 0, 0, kWidth, kHeight, PATCOPY));
    EXPECT_EQ(LitPixels(m_bitmap), 0u);
    EXPECT_FALSE(PatBlt(m_dc, 0, 0, 1, 1, SRCCOPY));
}

TEST_F(RasterDrawing, BitBltCopiesPixelsClippedToBothBitmaps) {
    for (LONG y = 0; y < kHeight; ++y) {
        for (LONG x = 0; x < kWidth; ++x) {
            m_bitmap->m_bits[y * kWidth + x] = 0xFF000000u | static_cast<std::uint32_t>(y << 8 | x);
        }
    }
    const HDC target = CreateCompatibleDC(m_dc);
    const HBITMAP copy = CreateCompatibleBitmap(target, 20, 10);
    SelectObject(target, copy);
    EXPECT_TRUE(BitBlt(target, -2, 3, 100, 100, m_dc, 5, 6, SRCCOPY));
    for (LONG y = 0; y < 10; ++y) {
        for (LONG x = 0; x < 20; ++x) {
            const std::uint32_t want = y < 3 ? 0xFF000000u : At(x + 7, y + 3);
            EXPECT_EQ(copy->m_bits[y * 20 + x], want) << x << ", " << y;
        }
    }
    // An overlapping copy within one bitmap reads the pixels as they were.
    const std::uint32_t was = At(10, 10);
    EXPECT_TRUE(BitBlt(m_dc, 11, 12, 30, 20, m_dc, 10, 10, SRCCOPY));
    EXPECT_EQ(At(11, 12), was);
    EXPECT_EQ(At(40, 31), 0xFF000000u | (29u << 8) | 39u);
    EXPECT_FALSE(BitBlt(target, 0, 0, 5, 5, m_dc, 0, 0, PATCOPY));
    DeleteDC(target);
    DeleteObject(copy);
}

TEST(RasterObjects, SelectionsAndLifetimes) {
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(SelectObject(screen, GetStockObject(BLACK_BRUSH)), nullptr);
    const HDC a = CreateCompatibleDC(screen);
    const HDC b = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, a), 0);

    // SelectObject hands back the previous object of the same type.
    const HGDIOBJ firstPen = SelectObject(a, pen);
    EXPECT_EQ(firstPen, GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(a, GetStockObject(BLACK_BRUSH)), GetStockObject(WHITE_BRUSH));
    const HGDIOBJ emptyBitmap = SelectObject(a, bitmap);
    ASSERT_NE(emptyBitmap, nullptr);
    EXPECT_EQ(SelectObject(a, bitmap), bitmap);

    // A bitmap lives in one context at a time; selected objects are not freed.
    EXPECT_EQ(SelectObject(b, bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(SelectObject(a, emptyBitmap), bitmap);
    EXPECT_EQ(SelectObject(b, bitmap), emptyBitmap);
    EXPECT_TRUE(DeleteDC(b));  // lets go of the bitmap
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(SelectObject(a, firstPen), pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));  // a no-op
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(DeleteDC(a));
    EXPECT_FALSE(DeleteDC(screen));

    // Only solid one-pixel pens and real sizes are made.
    EXPECT_EQ(CreatePen(1, 1, 0), nullptr);
    EXPECT_EQ(CreatePen(PS_SOLID, 2, 0), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 0, 5), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 1 << 16, 1 << 16), nullptr);
    EXPECT_EQ(PixelFromColor(RGB(0xAB, 0xCD, 0xEF)), 0xFFABCDEFu);
}

TEST(RasterObjects, EmptyHandlesDoNothing) {
    EXPECT_EQ(CreateCompatibleDC(nullptr), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 10, 10), nullptr);
    EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_BRUSH)), nullptr);
    EXPECT_FALSE(PatBlt(nullptr, 0, 0, 1, 1, PATCOPY));
    EXPECT_FALSE(MoveToEx(nullptr, 0, 0, nullptr));
    EXPECT_FALSE(LineTo(nullptr, 5, 5));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(DeleteDC(nullptr));
    EXPECT_EQ(GetStockObject(12345), nullptr);

    // A context without a bitmap draws nowhere; null sources copy nothing.
    const HDC dc = CreateCompatibleDC(GetDC(nullptr));
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    EXPECT_TRUE(MoveToEx(dc, -5, -5, nullptr));
    EXPECT_TRUE(LineTo(dc, 50, 50));
    EXPECT_TRUE(PatBlt(dc, 0, 0, 10, 10, PATCOPY));
    EXPECT_FALSE(BitBlt(dc, 0, 0, 5, 5, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(nullptr, 0, 0, 5, 5, dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(DeleteDC(dc));
}

}  // namespace
