#include "platform/paint.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/qt/handle.h"

#include <cmath>

namespace {

double WindowDeviceScale(HWND hwnd) {
    const QWidget* widget = WidgetFromHandle(hwnd);
    return widget != nullptr ? widget->devicePixelRatioF() : 1.0;
}

// Screen contexts of a window learn its device scale from the widget.
[[maybe_unused]] const bool g_scaleSourceSet = (SetDeviceScaleSource(&WindowDeviceScale), true);

// A window's paint context: a QPainter on the widget, open only while the
// widget is in its paint event (a painter on a widget is refused elsewhere).
class CPaintContext : public HDC__ {
  public:
    explicit CPaintContext(QWidget* widget) : HDC__(EType::Paint), m_widget(widget) {
        m_scale = widget->devicePixelRatioF();
        if (widget->testAttribute(Qt::WA_WState_InPaintEvent)) {
            m_painter.begin(widget);
            m_painter.setCompositionMode(QPainter::CompositionMode_Source);
            if (m_scale != 1.0) {
                // Draw in device pixels: a bitmap pixel is one pixel of the screen,
                // never stretched or smoothed.
                m_painter.setWorldTransform(QTransform::fromScale(1.0 / m_scale, 1.0 / m_scale));
            }
        }
    }

    ~CPaintContext() override {
        if (m_painter.isActive()) {
            m_painter.end();
        }
    }

    BOOL BlitFrom(const HBITMAP__& source, LONG x, LONG y, LONG width, LONG height, LONG srcX,
                  LONG srcY) override {
        if (!m_painter.isActive()) {
            return FALSE;
        }
        // All in device pixels (BitBlt has mapped them).
        CCopyRect copy{x, y, width, height, srcX, srcY};
        const auto deviceWidth = static_cast<LONG>(std::ceil(m_widget->width() * m_scale));
        const auto deviceHeight = static_cast<LONG>(std::ceil(m_widget->height() * m_scale));
        if (!ClipCopy(source.m_width, source.m_height, deviceWidth, deviceHeight, &copy)) {
            return TRUE;
        }
        // Wraps the bitmap's own memory: no conversion and no copy per paint.
        const QImage image(reinterpret_cast<const uchar*>(source.m_bits), source.m_width,
                           source.m_height, qsizetype{source.m_width} * 4, QImage::Format_RGB32);
        m_painter.drawImage(QPoint(copy.m_x, copy.m_y), image,
                            QRect(copy.m_srcX, copy.m_srcY, copy.m_width, copy.m_height));
        return TRUE;
    }

  private:
    QWidget* m_widget;
    QPainter m_painter;
};

}  // namespace

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    QWidget* widget = WidgetFromHandle(hwnd);
    if (widget == nullptr || paint == nullptr) {
        return nullptr;
    }
    *paint = PAINTSTRUCT{};
    paint->hdc = new CPaintContext(widget);
    paint->rcPaint = RECT{0, 0, widget->width(), widget->height()};
    return paint->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (paint == nullptr || paint->hdc == nullptr || paint->hdc->m_type != HDC__::EType::Paint) {
        return FALSE;
    }
    delete paint->hdc;
    return TRUE;
}
