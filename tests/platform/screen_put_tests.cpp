// A drawing area on a real X server paints straight on its window: what the
// screen shows is exactly its bitmap, a repaint puts only the part it was
// asked for (at once when a timer tick asked), and a window shown again shows
// its whole current picture. A
// bitmap whose memory the server does not share, or a server reached over
// the network, is painted by Qt instead, with the same result. Run on Xvfb
// (on_x11.sh) at scale factors 1, 1.5 and 2, and over TCP.
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QTest>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "platform/paint.h"
#include "platform/qt/handle.h"
#include "platform/qt/screen_put.h"
#include "tests/platform/window_test_support.h"

using namespace lunvik::test;

namespace {

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

// Waits until the paints of showing the window are over (none for 300 ms),
// so that none repaints more than the next asks for.
void WaitUntilPaintsStop(const CJournal& journal, HWND child) {
    for (int quiet = 0, last = -1, round = 0; quiet < 3 && round < 50; ++round) {
        const int now = journal.Count(WM_PAINT, child);
        quiet = now == last ? quiet + 1 : 0;
        last = now;
        QTest::qWait(100);
    }
}

// What the screen may show after a repaint of a rectangle whose pixels
// changed, as did pixels outside it: the inside new and, put straight from a
// shared bitmap, the outside old. Qt, painting on its own, may repaint more,
// and on a fractional scale rounds the last row and column either way. The
// rectangle is whole device pixels at every scale tried.
struct SRepaintShown {
    bool operator()(const std::vector<std::uint32_t>& screen) const {
        const QRect sure = m_shared ? m_inside : m_inside.adjusted(0, 0, -1, -1);
        for (std::size_t i = 0; i < screen.size(); ++i) {
            const QPoint p(static_cast<int>(i) % m_width, static_cast<int>(i) / m_width);
            if (sure.contains(p) ? screen[i] != m_changed[i]
                                 : m_shared && screen[i] != m_before[i]) {
                return false;
            }
        }
        return true;
    }

    QRect m_inside;
    bool m_shared;
    int m_width;
    std::vector<std::uint32_t> m_before, m_changed;
};

// A view on a page, painting picture on every WM_PAINT.
class ScreenPut : public WindowTest {
  protected:
    void Start(bool sharedBitmap) {
        m_network = qEnvironmentVariableIsSet("ON_X11_TCP");
        ASSERT_EQ(lunvik::platform::CanPutOnScreen(), !m_network)
            << "Xvfb shares memory with its clients, but not over TCP";
        m_shared = sharedBitmap && !m_network;
        m_on.emplace();  // after SetUp, which gives the test's resources
        ASSERT_NE(m_on->child, nullptr);
        m_picture = std::make_unique<CPicture>(m_on->child, sharedBitmap);
        m_on->view.m_hook = [this](UINT msg, WPARAM, LPARAM, LRESULT&) {
            if (msg == WM_PAINT) {
                m_picture->Paint(m_on->child);
            }
            return msg == WM_PAINT;
        };
        ShowWindow(m_on->parent, SW_SHOW);
        ShowWindow(m_on->hwnd, SW_SHOW);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetFromHandle(m_on->parent)));
    }
    bool ScreenShows(const std::vector<std::uint32_t>& pixels) const {
        return QTest::qWaitFor([&] { return Screen() == pixels; });
    }
    // Without handling events, so that nothing paints or flushes meanwhile:
    // puts go on a connection of their own, which the server may read after
    // the grab asked on Qt's.
    bool ShowsWhatWentOut(const SRepaintShown& shown) const {
        for (int tries = 0; tries < 100; ++tries) {
            if (shown(Screen())) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    std::vector<std::uint32_t> Screen() const {
        return Grab(WidgetFromHandle(m_on->child), m_picture->Width(), m_picture->Height());
    }
    void CheckWhatTheScreenShows(bool sharedBitmap);

    std::optional<SPageWithView> m_on;
    std::unique_ptr<CPicture> m_picture;
    bool m_network = false;
    bool m_shared = false;
};

void ScreenPut::CheckWhatTheScreenShows(bool sharedBitmap) {
    ASSERT_NO_FATAL_FAILURE(Start(sharedBitmap));
    const HWND child = m_on->child;
    EXPECT_FALSE(WidgetFromHandle(m_on->placeholder)->testAttribute(Qt::WA_PaintOnScreen))
        << "a framed window is Qt's";
    EXPECT_TRUE(ScreenShows(m_picture->Expected())) << "the first paint shows the whole bitmap";
    // A bitmap the server does not share is handed to Qt at its first paint,
    // which may come after the window is exposed.
    EXPECT_EQ(WidgetFromHandle(child)->testAttribute(Qt::WA_PaintOnScreen), m_shared);
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(child, &ps);
    EXPECT_FALSE(BitBlt(dc, 0, 0, 9, 9, m_picture->Memory(), 0, 0, SRCCOPY))
        << "outside a paint event nothing reaches the screen";
    EXPECT_FALSE(DeleteDC(dc)) << "only EndPaint frees a paint context";
    EXPECT_TRUE(EndPaint(child, &ps));
    ps.hdc = m_picture->Memory();
    EXPECT_FALSE(EndPaint(child, &ps)) << "a memory context is not EndPaint's to free";
    WaitUntilPaintsStop(m_on->journal, child);

    const RECT asked{2, 2, 40, 18};
    const double scale = WidgetFromHandle(child)->devicePixelRatioF();
    const std::vector<std::uint32_t> before = m_picture->Expected();
    m_picture->Fill(77);
    const SRepaintShown repaint{QRect(QPoint(asked.left, asked.top) * scale,
                                      QPoint(asked.right, asked.bottom) * scale - QPoint(1, 1)),
                                m_shared, m_picture->Width(), before, m_picture->Expected()};
    const int paints = m_on->journal.Count(WM_PAINT, child);
    InvalidateRect(child, &asked, FALSE);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_on->journal.Count(WM_PAINT, child) > paints; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return repaint(Screen()); }))
        << m_on->journal.Count(WM_PAINT, child) - paints << " paints";

    // Asked for by a timer tick: on the screen as the tick ends, before what
    // the tick posted is handled.
    const SRepaintShown ticked{repaint.m_inside, m_shared, m_picture->Width(), Screen(),
                               (m_picture->Fill(78), m_picture->Expected())};
    std::optional<bool> shownWhenPosted;
    m_on->top.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_TIMER && m_on->top.KillTimer(1)) {
            PostMessageW(m_on->parent, WM_USER, 0, 0);
            InvalidateRect(child, &asked, FALSE);
        } else if (msg == WM_USER) {
            shownWhenPosted = ShowsWhatWentOut(ticked);
        }
        return false;
    };
    ASSERT_TRUE(m_on->top.SetTimer(1, 10));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownWhenPosted.has_value(); }));
    EXPECT_TRUE(*shownWhenPosted);

    // Hidden and shown again: the whole current picture.
    ShowWindow(m_on->hwnd, SW_HIDE);
    ShowWindow(m_on->parent, SW_SHOW);
    ShowWindow(m_on->hwnd, SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetFromHandle(m_on->parent)));
    EXPECT_TRUE(ScreenShows(ticked.m_changed));
}

}  // namespace

TEST_F(ScreenPut, TheScreenShowsTheBitmapAndARepaintPutsOnlyWhatWasAsked) {
    CheckWhatTheScreenShows(true);
}

TEST_F(ScreenPut, ABitmapTheServerDoesNotShareIsPaintedByQtAlike) {
    CheckWhatTheScreenShows(false);
}
