// A drawing area on a real X server paints straight on its window: what the
// screen shows is exactly its bitmap, a repaint puts only the part it was
// asked for, and a window shown again shows its whole current picture. A
// bitmap whose memory the server does not share, or a server reached over
// the network, is painted by Qt instead, with the same result. Run on Xvfb
// (on_x11.sh) at scale factors 1, 1.5 and 2, and over TCP.
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/paint.h"
#include "platform/qt/handle.h"
#include "platform/qt/screen_put.h"
#include "tests/platform/window_test_support.h"

using namespace lunvik::test;

namespace {

QWidget* W(HWND hwnd) {
    return WidgetFromHandle(hwnd);
}

using PlatformScreenPut = WindowTest;

// The window's pixels as the X server has them, 0x00RRGGBB (all ~0 when it
// cannot say).
std::vector<std::uint32_t> Grab(QWidget* widget, int width, int height) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    xcb_get_image_reply_t* image = xcb_get_image_reply(
        connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP,
                      static_cast<xcb_window_t>(widget->winId()), 0, 0,
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), ~0u),
        nullptr);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height), ~0u);
    if (image != nullptr) {
        const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image));
        for (int i = 0; i < width * height; ++i) {
            pixels[i] = data[i] & 0xFFFFFF;
        }
        std::free(image);
    }
    return pixels;
}

// A bitmap of the window's size, blitted whole by every WM_PAINT, as the
// drawing area does; a pattern in which every pixel differs from its
// neighbours, so that a put one pixel off shows. Made compatible with the
// window's screen context, as the drawing area's is, its memory is shared
// with the server; made compatible with a memory context, it is not.
class CPicture {
  public:
    CPicture(HWND window, bool shared) {
        const HDC screen = GetDC(window);
        RECT rc;
        GetClientRect(window, &rc);
        m_memory = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(shared ? screen : m_memory, rc.right, rc.bottom);
        SelectObject(m_memory, m_bitmap);
        ReleaseDC(window, screen);
        m_logical = rc;
        Fill(0);
    }
    ~CPicture() {
        DeleteDC(m_memory);
        DeleteObject(m_bitmap);
    }
    HDC Memory() const { return m_memory; }
    int Width() const { return m_bitmap->m_width; }
    int Height() const { return m_bitmap->m_height; }

    void Fill(std::uint32_t salt) {
        for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(Width() * Height()); ++i) {
            m_bitmap->m_bits[i] = 0xFF000000u | ((i * 2654435761u + salt) & 0xFFFFFF);
        }
    }
    std::vector<std::uint32_t> Expected() const {
        std::vector<std::uint32_t> pixels;
        for (int i = 0; i < Width() * Height(); ++i) {
            pixels.push_back(m_bitmap->m_bits[i] & 0xFFFFFF);
        }
        return pixels;
    }
    void Paint(HWND window) const {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        BitBlt(ps.hdc, 0, 0, m_logical.right, m_logical.bottom, m_memory, 0, 0, SRCCOPY);
        EndPaint(window, &ps);
    }

  private:
    HDC m_memory;
    HBITMAP m_bitmap;
    RECT m_logical;
};

void CheckWhatTheScreenShows(bool sharedBitmap) {
    const bool network = qEnvironmentVariableIsSet("ON_X11_TCP");
    ASSERT_EQ(lunvik::platform::CanPutOnScreen(), !network)
        << "Xvfb shares memory with its clients, but not over TCP";
    const bool shared = sharedBitmap && !network;
    SPageWithView on;
    auto& [top, page, journal, view, parent, hwnd, placeholder, child] = on;
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(W(child)->testAttribute(Qt::WA_PaintOnScreen), !network);
    EXPECT_FALSE(W(placeholder)->testAttribute(Qt::WA_PaintOnScreen)) << "a framed window is Qt's";
    CPicture picture(child, sharedBitmap);
    view.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_PAINT) {
            picture.Paint(child);
        }
        return msg == WM_PAINT;
    };
    const int width = picture.Width();
    const int height = picture.Height();
    const double scale = W(child)->devicePixelRatioF();
    ShowWindow(parent, SW_SHOW);
    ShowWindow(hwnd, SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(W(parent)));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return Grab(W(child), width, height) == picture.Expected();
    })) << "the first paint shows the whole bitmap";
    EXPECT_EQ(W(child)->testAttribute(Qt::WA_PaintOnScreen), shared);
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(child, &ps);
    EXPECT_FALSE(BitBlt(dc, 0, 0, 9, 9, picture.Memory(), 0, 0, SRCCOPY))
        << "outside a paint event nothing reaches the screen";
    EndPaint(child, &ps);

    // The paints of showing the window are over (none for 300 ms), so that
    // none repaints more than the next asks for.
    for (int quiet = 0, last = -1, round = 0; quiet < 3 && round < 50; ++round) {
        const int now = journal.Count(WM_PAINT, child);
        quiet = now == last ? quiet + 1 : 0;
        last = now;
        QTest::qWait(100);
    }

    // Changed inside and outside the repainted rectangle: the inside shows,
    // and a put covers only the inside (Qt may repaint more). On a fractional
    // scale the inside's edge pixels are only partly asked for: either will do.
    const std::vector<std::uint32_t> before = picture.Expected();
    const RECT asked{3, 2, 40, 17};
    const QRect inside(QPoint(static_cast<int>(std::ceil(asked.left * scale)),
                              static_cast<int>(std::ceil(asked.top * scale))),
                       QPoint(static_cast<int>(std::floor(asked.right * scale)) - 1,
                              static_cast<int>(std::floor(asked.bottom * scale)) - 1));
    const QRect edge = inside.adjusted(-1, -1, 1, 1);
    const QRect sure = shared ? inside : inside.adjusted(0, 0, -1, -1);
    picture.Fill(77);
    const std::vector<std::uint32_t> changed = picture.Expected();
    auto showsTheRepaint = [&](const std::vector<std::uint32_t>& screen) {
        for (int i = 0; i < width * height; ++i) {
            const QPoint p(i % width, i / width);
            const bool isNew = screen[i] == changed[i];
            const bool isOld = screen[i] == before[i];
            // Qt rounds what it repaints on its own, by a device pixel either
            // way on a fractional scale: only the inside less that is
            // certain when it paints.
            const bool either = edge.contains(p) || !shared;
            if (sure.contains(p) ? !isNew : either ? !(isNew || isOld) : !isOld) {
                return false;
            }
        }
        return true;
    };
    const int paints = journal.Count(WM_PAINT, child);
    InvalidateRect(child, &asked, FALSE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return journal.Count(WM_PAINT, child) > paints; }));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const std::vector<std::uint32_t> screen = Grab(W(child), width, height);
        return showsTheRepaint(screen);
    })) << journal.Count(WM_PAINT, child) - paints
        << " paints";

    // Hidden and shown again: the whole current picture.
    ShowWindow(hwnd, SW_HIDE);
    ShowWindow(parent, SW_SHOW);
    ShowWindow(hwnd, SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(W(parent)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Grab(W(child), width, height) == changed; }));
}
}  // namespace

TEST_F(PlatformScreenPut, TheScreenShowsTheBitmapAndARepaintPutsOnlyWhatWasAsked) {
    CheckWhatTheScreenShows(true);
}

TEST_F(PlatformScreenPut, ABitmapTheServerDoesNotShareIsPaintedByQtAlike) {
    CheckWhatTheScreenShows(false);
}
