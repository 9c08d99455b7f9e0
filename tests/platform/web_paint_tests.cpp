// A drawing area's canvas on the page: a repaint puts the box asked for, from
// the one image the page keeps over the window's pixels, and the canvas then
// shows the bitmap exactly, after the heap has grown under that image too.
#include <algorithm>
#include <vector>

#include "platform/paint.h"
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "tests/platform/window_test_support.h"

namespace lunvik::test {
namespace {

using WebPaint = WindowTest;

constexpr int kWidth = 100;
constexpr int kHeight = 60;

// Blits its bitmap whole on every paint, as the drawing area does.
class CBlitter {
  public:
    CBlitter() {
        EXPECT_NE(
            m_window.Create(nullptr, RECT{0, 0, kWidth, kHeight}, nullptr, kTopLevel | WS_VISIBLE),
            nullptr);
        const HDC screen = GetDC(m_window);
        m_memory = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
        ReleaseDC(m_window, screen);
        SelectObject(m_memory, m_bitmap);
        m_window.m_hook = [this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
            if (msg != WM_PAINT) {
                return false;
            }
            PAINTSTRUCT ps;
            BeginPaint(m_window, &ps);
            BitBlt(ps.hdc, 0, 0, kWidth, kHeight, m_memory, 0, 0, SRCCOPY);
            EndPaint(m_window, &ps);
            result = 0;
            return true;
        };
    }
    ~CBlitter() {
        DeleteDC(m_memory);
        DeleteObject(m_bitmap);
        m_window.DestroyWindow();
    }

    // Fills box in the bitmap, repaints it and returns the pixels put for it.
    double Fill(const RECT& box, int brush) {
        SelectObject(m_memory, GetStockObject(brush));
        PatBlt(m_memory, box.left, box.top, box.right - box.left, box.bottom - box.top, PATCOPY);
        const double before = lv_test_put_pixels();
        InvalidateRect(m_window, &box, FALSE);
        DeliverPosted();
        return lv_test_put_pixels() - before;
    }
    // Whether the canvas, width x height, shows the bitmap's top left part.
    bool CanvasShowsBitmap(int width = kWidth, int height = kHeight) const {
        std::vector<std::uint32_t> read(static_cast<std::size_t>(width) * height);
        lv_test_read(platform::Live(m_window)->canvas, read.data(), width, height);
        for (int y = 0; y < height; ++y) {
            if (!std::equal(read.begin() + y * width, read.begin() + (y + 1) * width,
                            m_bitmap->m_bits + y * kWidth)) {
                return false;
            }
        }
        return true;
    }

    CTestWindow m_window;
    HDC m_memory = nullptr;
    HBITMAP m_bitmap = nullptr;
};

TEST_F(WebPaint, ARepaintPutsItsBoxAndTheCanvasShowsTheBitmap) {
    CBlitter area;
    const RECT all{0, 0, kWidth, kHeight};
    EXPECT_EQ(area.Fill(all, WHITE_BRUSH), kWidth * kHeight);
    EXPECT_TRUE(area.CanvasShowsBitmap());
    const RECT boxes[] = {{37, 21, 38, 22}, {0, 0, 3, 1}, {99, 59, 100, 60}, {20, 40, 70, 43}};
    for (const RECT& box : boxes) {
        EXPECT_EQ(area.Fill(box, BLACK_BRUSH), (box.right - box.left) * (box.bottom - box.top));
        EXPECT_TRUE(area.CanvasShowsBitmap()) << box;
    }
    // The heap grows: the page's image over it is made again.
    std::vector<char> big(64 << 20, 1);
    EXPECT_EQ(area.Fill(RECT{10, 10, 20, 12}, WHITE_BRUSH) + big[12345], 10 * 2 + 1);
    EXPECT_TRUE(area.CanvasShowsBitmap());
}

// A canvas placed again at its size keeps its pixels; given another size it
// is cleared and painted again.
TEST_F(WebPaint, ACanvasResizedShowsTheBitmapAgain) {
    CBlitter area;
    area.Fill(RECT{0, 0, kWidth, kHeight}, WHITE_BRUSH);
    area.Fill(RECT{5, 5, 9, 9}, BLACK_BRUSH);
    MoveWindow(area.m_window, 0, 0, kWidth, kHeight, TRUE);
    DeliverPosted();
    EXPECT_TRUE(area.CanvasShowsBitmap());
    MoveWindow(area.m_window, 0, 0, 80, 50, TRUE);
    EXPECT_EQ(area.Fill(RECT{0, 0, 80, 50}, BLACK_BRUSH), 80 * 50);
    EXPECT_TRUE(area.CanvasShowsBitmap(80, 50));
}

}  // namespace
}  // namespace lunvik::test
