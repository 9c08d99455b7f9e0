// Fuzzes the raster's lines: a buffer of up to 2000 x 2000 pixels and a
// sequence of pen, move and line calls with any 32-bit coordinates. Checks
// that
// - every line sets exactly the pixels of the tests' reference line, worked
//   out on its own from the closed form of the line (and for short lines also
//   by walking it whole), end point left out;
// - clipping changes nothing: the same calls drawn into a buffer large enough
//   to hold every line whole, shifted, give the same pixels;
// - the walk takes no more steps than the line has visible pixels, however
//   long the line is.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "platform/raster/clipped_line.h"
#include "platform/raster/raster.h"
#include "tests/support/reference_line.h"

namespace {

using lunvik::fuzz::CFuzzInput;
using lunvik::test::ReferenceLine;
using CPixel = lunvik::test::SLinePixel;

// ReferenceLine's pixels again, by Bresenham's incremental walk over every
// step of the line, ties stepping the shorter axis (e = 2*i*b - 2*a*m stays
// in [-a, a)), for lines short enough to walk.
std::vector<CPixel> WalkedLine(CPixel p0, CPixel p1, std::int64_t width, std::int64_t height) {
    const std::int64_t ax = std::llabs(p1.x - p0.x);
    const std::int64_t ay = std::llabs(p1.y - p0.y);
    const std::int64_t sx = p1.x < p0.x ? -1 : 1;
    const std::int64_t sy = p1.y < p0.y ? -1 : 1;
    const std::int64_t a = std::max(ax, ay);
    const std::int64_t b = std::min(ax, ay);
    std::vector<CPixel> pixels;
    for (std::int64_t i = 0, m = 0, e = 0; i < a; ++i, e += 2 * b) {
        if (e >= a) {
            ++m;
            e -= 2 * a;
        }
        const CPixel p =
            ax >= ay ? CPixel{p0.x + sx * i, p0.y + sy * m} : CPixel{p0.x + sx * m, p0.y + sy * i};
        if (p.x >= 0 && p.x < width && p.y >= 0 && p.y < height) {
            pixels.push_back(p);
        }
    }
    return pixels;
}

struct CLineCall {
    CPixel m_from;
    CPixel m_to;
    COLORREF m_color;
};

// A memory context with a black bitmap of its own.
struct CCanvas {
    CCanvas(int width, int height) {
        m_dc = CreateCompatibleDC(GetDC(nullptr));
        m_bitmap = CreateCompatibleBitmap(GetDC(nullptr), width, height);
        FUZZ_CHECK(m_dc != nullptr && m_bitmap != nullptr, "%d x %d", width, height);
        SelectObject(m_dc, m_bitmap);
    }
    ~CCanvas() {
        SelectPen(nullptr);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    // Selects a new pen (or the stock black pen) and frees the previous one.
    void SelectPen(HPEN pen) {
        const HGDIOBJ previous =
            SelectObject(m_dc, pen != nullptr ? pen : GetStockObject(BLACK_PEN));
        if (previous != pen) {
            DeleteObject(previous);  // refuses stock objects
        }
    }
    const std::uint32_t& At(std::int64_t x, std::int64_t y) const {
        return m_bitmap->m_bits[y * m_bitmap->m_width + x];
    }

    HDC m_dc;
    HBITMAP m_bitmap;
};

// Draws the recorded lines again into a buffer that holds all of them whole,
// and compares the part that the clipped buffer covers.
void CheckAgainstUnclipped(const std::vector<CLineCall>& lines, const CCanvas& clipped) {
    const std::int64_t width = clipped.m_bitmap->m_width;
    const std::int64_t height = clipped.m_bitmap->m_height;
    std::int64_t minX = 0, minY = 0, maxX = width - 1, maxY = height - 1;
    for (const CLineCall& line : lines) {
        for (const CPixel& p : {line.m_from, line.m_to}) {
            minX = std::min(minX, p.x);
            minY = std::min(minY, p.y);
            maxX = std::max(maxX, p.x);
            maxY = std::max(maxY, p.y);
        }
    }
    const std::int64_t bigWidth = maxX - minX + 1;
    const std::int64_t bigHeight = maxY - minY + 1;
    constexpr std::int64_t kMaxPixels = std::int64_t{1} << 22;
    if (bigWidth > kMaxPixels || bigHeight > kMaxPixels || bigWidth * bigHeight > kMaxPixels) {
        return;  // too large to hold whole; the reference covers these
    }
    CCanvas whole(static_cast<int>(bigWidth), static_cast<int>(bigHeight));
    for (const CLineCall& line : lines) {
        whole.SelectPen(CreatePen(PS_SOLID, 1, line.m_color));
        MoveToEx(whole.m_dc, static_cast<int>(line.m_from.x - minX),
                 static_cast<int>(line.m_from.y - minY), nullptr);
        LineTo(whole.m_dc, static_cast<int>(line.m_to.x - minX),
               static_cast<int>(line.m_to.y - minY));
    }
    for (std::int64_t y = 0; y < height; ++y) {
        FUZZ_CHECK(std::memcmp(&clipped.At(0, y), &whole.At(-minX, y - minY),
                               static_cast<std::size_t>(width) * 4) == 0,
                   "clipped and whole lines differ in row %lld", static_cast<long long>(y));
    }
}

// One case: the canvas, the pixels it must hold, the lines drawn so far, the
// pen's colour and the current position, with one step for each call.
class CLineCase {
  public:
    CLineCase(int width, int height) : m_width(width), m_height(height), m_canvas(width, height) {
        // Kept from case to case: a fresh 16 MB every time would cost more than the case.
        static std::vector<std::uint32_t> expected;
        expected.assign(static_cast<std::size_t>(width) * height, PixelFromColor(RGB(0, 0, 0)));
        m_expected = &expected;
    }

    // Only solid one-pixel pens can be made.
    void Pen(CFuzzInput& in) {
        const auto style = static_cast<int>(in.Byte() % 3);
        const auto penWidth = static_cast<int>(in.Byte() % 3);
        const COLORREF wanted = in.Raw<std::uint32_t>() & 0x00FFFFFF;
        const HPEN pen = CreatePen(style, penWidth, wanted);
        FUZZ_CHECK((pen != nullptr) == (style == PS_SOLID && penWidth <= 1),
                   "pen style %d width %d", style, penWidth);
        if (pen != nullptr) {
            m_canvas.SelectPen(pen);
            m_color = wanted;
        }
    }

    void Move(CFuzzInput& in) {
        const CPixel to{in.Coordinate(m_width), in.Coordinate(m_height)};
        POINT previous{-7, -7};
        MoveToEx(m_canvas.m_dc, static_cast<int>(to.x), static_cast<int>(to.y), &previous);
        FUZZ_CHECK(previous.x == m_current.x && previous.y == m_current.y, "MoveToEx previous");
        m_current = to;
    }

    void Line(CFuzzInput& in) {
        const CPixel to{in.Coordinate(m_width), in.Coordinate(m_height)};
        const std::vector<CPixel> reference = ReferenceLine(m_current, to, m_width, m_height);
        const std::int64_t length =
            std::max(std::llabs(to.x - m_current.x), std::llabs(to.y - m_current.y));
        if (length <= (1 << 16)) {
            FUZZ_CHECK(WalkedLine(m_current, to, m_width, m_height) == reference,
                       "closed form and walk disagree");
        }
        const std::int64_t stepsBefore = g_rasterSteps;
        LineTo(m_canvas.m_dc, static_cast<int>(to.x), static_cast<int>(to.y));
        const std::int64_t steps = g_rasterSteps - stepsBefore;
        FUZZ_CHECK(steps <= static_cast<std::int64_t>(reference.size()),
                   "%lld steps for %zu visible pixels", static_cast<long long>(steps),
                   reference.size());
        const std::uint32_t pixel = PixelFromColor(m_color);
        for (const CPixel& p : reference) {
            (*m_expected)[p.y * m_width + p.x] = pixel;
            FUZZ_CHECK(m_canvas.At(p.x, p.y) == pixel, "pixel (%lld, %lld) not drawn",
                       static_cast<long long>(p.x), static_cast<long long>(p.y));
        }
        m_lines.push_back(CLineCall{m_current, to, m_color});
        m_current = to;
    }

    // Nothing outside the reference lines was touched, and the clipped lines
    // are the whole lines' pixels.
    void CheckAll() const {
        FUZZ_CHECK(std::memcmp(&m_canvas.At(0, 0), m_expected->data(), m_expected->size() * 4) == 0,
                   "pixels off the reference lines");
        CheckAgainstUnclipped(m_lines, m_canvas);
    }

  private:
    int m_width;
    int m_height;
    CCanvas m_canvas;
    std::vector<std::uint32_t>* m_expected;
    std::vector<CLineCall> m_lines;
    COLORREF m_color = RGB(0, 0, 0);  // a new context draws with the black pen
    CPixel m_current{0, 0};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFuzzInput in(data, size);
    // Mostly small buffers, which run fast, but one case in eight up to 2000 x 2000.
    const std::uint32_t limits[] = {16, 100, 400, 2000, 16, 100, 16, 100};
    const std::uint32_t limit = limits[in.Byte() % 8];
    const int width = 1 + static_cast<int>(in.Below(limit));
    const int height = 1 + static_cast<int>(in.Below(limit));
    CLineCase lineCase(width, height);
    for (int call = 0; call < 64 && in.More(); ++call) {
        switch (in.Byte() % 3) {
            case 0:
                lineCase.Pen(in);
                break;
            case 1:
                lineCase.Move(in);
                break;
            default:
                lineCase.Line(in);
                break;
        }
    }
    lineCase.CheckAll();
    return 0;
}
