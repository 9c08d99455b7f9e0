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

TEST(PaintPath, BitBltInThePaintEventShowsTheBitmapClippedToTheWindowAndNothingOutsideIt) {
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            g_warnings << (type != QtDebugMsg && type != QtInfoMsg ? text : QString());
        });
    const HDC memory = CreateCompatibleDC(GetDC(nullptr));
    const HBITMAP bitmap = CreateCompatibleBitmap(memory, 41, 31);
    SelectObject(memory, bitmap);
    for (LONG i = 0; i < 41 * 31; ++i) {
        // Distinct colours, in the 0xFFRRGGBB layout of the bitmap.
        bitmap->m_bits[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    }
    // The 41 x 31 bitmap at (25, -3) of a 40 x 30 white window: only part of it is inside.
    // A window that paints as the drawing area does on WM_PAINT: BeginPaint,
    // BitBlt from the memory context at an offset, EndPaint.
    lunvik::test::CTestWindow window;
    BOOL blitResult = FALSE;
    window.m_hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        PAINTSTRUCT ps;
        if (msg == WM_PAINT) {
            blitResult =
                BitBlt(BeginPaint(window.m_hWnd, &ps), 25, -3, 41, 31, memory, 0, 0, SRCCOPY);
            EndPaint(window.m_hWnd, &ps);
        }
        return msg == WM_PAINT;
    };
    const HWND hwnd = window.Create(nullptr, RECT{0, 0, 40, 30});
    QWidget* widget = WidgetFromHandle(hwnd);
    widget->resize(40, 30);
    // White where the bitmap does not reach (a window's own paint covers it all).
    widget->setAttribute(Qt::WA_OpaquePaintEvent, false);
    widget->setAutoFillBackground(true);
    widget->setPalette(QPalette(Qt::white, Qt::white));
    const QImage shot = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(blitResult);
    ASSERT_EQ(shot.size(), QSize(40, 30));
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const QRgb want =
                x >= 25 && y < 28 ? bitmap->m_bits[(y + 3) * 41 + x - 25] : 0xFFFFFFFF;
            ASSERT_EQ(shot.pixel(x, y), want) << x << ", " << y;
        }
    }

    // Outside a paint event a paint context draws nothing, and only EndPaint frees it.
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_FALSE(BitBlt(dc, 0, 0, 20, 20, memory, 0, 0, SRCCOPY));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_TRUE(EndPaint(hwnd, &ps));
    ps.hdc = memory;  // a memory context is not EndPaint's to free
    EXPECT_FALSE(EndPaint(hwnd, &ps));
    window.DestroyWindow();
    DeleteDC(memory);
    DeleteObject(bitmap);
    qInstallMessageHandler(previous);
    g_warnings.removeAll(QString());
    EXPECT_TRUE(g_warnings.isEmpty()) << g_warnings.join('\n').toStdString();
}

}  // namespace
