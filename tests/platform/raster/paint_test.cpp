// The paint path: a window's WM_PAINT copies a memory bitmap to the screen.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <QtGlobal>
#include <vector>

#include "platform/paint.h"
#include "platform/qt/handle.h"
#include "platform/raster/raster.h"

namespace {

std::vector<QString> g_warnings;

void CollectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) {
        g_warnings.push_back(text);
    }
}

// A widget that paints the way a window does on WM_PAINT: BeginPaint, BitBlt
// from the memory context at an offset, EndPaint.
class CBlitWidget : public QWidget {
  public:
    CBlitWidget(HDC source, QPoint to) : m_source(source), m_to(to) {}
    BOOL m_blitResult = FALSE;

  protected:
    void paintEvent(QPaintEvent*) override {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(HandleFromWidget(this), &ps);
        m_blitResult = BitBlt(dc, m_to.x(), m_to.y(), m_source->m_bitmap->m_width,
                              m_source->m_bitmap->m_height, m_source, 0, 0, SRCCOPY);
        EndPaint(HandleFromWidget(this), &ps);
    }

  private:
    HDC m_source;
    QPoint m_to;
};

class PaintPath : public ::testing::Test {
  protected:
    void SetUp() override {
        g_warnings.clear();
        m_previousHandler = qInstallMessageHandler(CollectWarnings);
        m_dc = CreateCompatibleDC(GetDC(nullptr));
        m_bitmap = CreateCompatibleBitmap(m_dc, 41, 31);
        SelectObject(m_dc, m_bitmap);
        for (LONG i = 0; i < 41 * 31; ++i) {
            // Distinct colours, in the 0xFFRRGGBB layout of the bitmap.
            m_bitmap->m_bits[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
        }
    }
    void TearDown() override {
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
        qInstallMessageHandler(m_previousHandler);
        EXPECT_TRUE(g_warnings.empty()) << g_warnings.front().toStdString();
    }
    QRgb Pixel(LONG x, LONG y) const { return m_bitmap->m_bits[y * 41 + x]; }

    QtMessageHandler m_previousHandler = nullptr;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
};

TEST_F(PaintPath, BitBltInThePaintEventShowsTheBitmapClippedToTheWindow) {
    // The 41 x 31 bitmap at (25, -3) of a 40 x 30 window: only part of it is inside.
    CBlitWidget widget(m_dc, QPoint(25, -3));
    widget.resize(40, 30);
    widget.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::white);
    widget.setPalette(palette);
    const QImage shot = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(widget.m_blitResult);
    ASSERT_EQ(shot.size(), QSize(40, 30));
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const QRgb want = x >= 25 && y < 28 ? Pixel(x - 25, y + 3) : qRgb(255, 255, 255);
            ASSERT_EQ(shot.pixel(x, y), want) << x << ", " << y;
        }
    }
}

TEST_F(PaintPath, OutsideAPaintEventNothingIsDrawn) {
    QWidget widget;
    widget.resize(20, 20);
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(HandleFromWidget(&widget), &ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_FALSE(BitBlt(dc, 0, 0, 20, 20, m_dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(LineTo(dc, 10, 10));  // harmless: a paint context holds no bitmap
    EXPECT_FALSE(DeleteDC(dc));       // only EndPaint frees it
    EXPECT_TRUE(EndPaint(HandleFromWidget(&widget), &ps));

    PAINTSTRUCT notPainting;
    notPainting.hdc = m_dc;  // a memory context is not EndPaint's to free
    EXPECT_FALSE(EndPaint(HandleFromWidget(&widget), &notPainting));
}

}  // namespace
