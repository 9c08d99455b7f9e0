// The paint path: a window's WM_PAINT copies a memory bitmap to the screen.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <QtGlobal>

#include "platform/paint.h"
#include "platform/qt/handle.h"
#include "platform/raster/raster.h"
#include "tests/platform/window_test_support.h"

namespace {

QStringList g_warnings;

// A 41 x 31 bitmap of distinct colours, in the 0xFFRRGGBB layout of the
// bitmap, and a 40 x 30 white window that paints as the drawing area does on
// WM_PAINT: BeginPaint, BitBlt from the memory context at an offset (25, -3),
// EndPaint. Qt says nothing about any of it.
class PaintPath : public ::testing::Test {
  protected:
    void SetUp() override {
        m_previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& text) {
                g_warnings << (type != QtDebugMsg && type != QtInfoMsg ? text : QString());
            });
        SelectObject(m_memory, m_bitmap);
        for (LONG i = 0; i < 41 * 31; ++i) {
            m_bitmap->m_bits[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
        }
        m_window.m_hook = [this](UINT msg, WPARAM, LPARAM, LRESULT&) {
            PAINTSTRUCT ps;
            if (msg == WM_PAINT) {
                m_blitResult = BitBlt(BeginPaint(m_window.m_hWnd, &ps), 25, -3, 41, 31, m_memory, 0,
                                      0, SRCCOPY);
                EndPaint(m_window.m_hWnd, &ps);
            }
            return msg == WM_PAINT;
        };
        m_hwnd = m_window.Create(nullptr, RECT{0, 0, 40, 30});
    }
    void TearDown() override {
        m_window.DestroyWindow();
        DeleteDC(m_memory);
        DeleteObject(m_bitmap);
        qInstallMessageHandler(m_previous);
        g_warnings.removeAll(QString());
        EXPECT_TRUE(g_warnings.isEmpty()) << g_warnings.join('\n').toStdString();
    }

    QtMessageHandler m_previous = nullptr;
    HDC m_memory = CreateCompatibleDC(GetDC(nullptr));
    HBITMAP m_bitmap = CreateCompatibleBitmap(m_memory, 41, 31);
    lunvik::test::CTestWindow m_window;
    HWND m_hwnd = nullptr;
    BOOL m_blitResult = FALSE;
};

TEST_F(PaintPath, BitBltInThePaintEventShowsTheBitmapClippedToTheWindowAndNothingOutsideIt) {
    QWidget* widget = WidgetFromHandle(m_hwnd);
    widget->resize(40, 30);
    // White where the bitmap does not reach (a window's own paint covers it all).
    widget->setAttribute(Qt::WA_OpaquePaintEvent, false);
    widget->setAutoFillBackground(true);
    widget->setPalette(QPalette(Qt::white, Qt::white));
    const QImage shot = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(m_blitResult);
    ASSERT_EQ(shot.size(), QSize(40, 30));
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const QRgb want =
                x >= 25 && y < 28 ? m_bitmap->m_bits[(y + 3) * 41 + x - 25] : 0xFFFFFFFF;
            ASSERT_EQ(shot.pixel(x, y), want) << x << ", " << y;
        }
    }
}

TEST_F(PaintPath, OutsideAPaintEventAPaintContextDrawsNothingAndOnlyEndPaintFreesIt) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(m_hwnd, &ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_FALSE(BitBlt(dc, 0, 0, 20, 20, m_memory, 0, 0, SRCCOPY));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_TRUE(EndPaint(m_hwnd, &ps));
    ps.hdc = m_memory;  // a memory context is not EndPaint's to free
    EXPECT_FALSE(EndPaint(m_hwnd, &ps));
}

}  // namespace
