#include "platform/paint.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/qt/handle.h"

namespace {

// A window's paint context: a QPainter on the widget, open only while the
// widget is in its paint event (a painter on a widget is refused elsewhere).
class CPaintContext : public HDC__ {
  public:
    explicit CPaintContext(QWidget* widget) : HDC__(EType::Paint), m_widget(widget) {
        if (widget->testAttribute(Qt::WA_WState_InPaintEvent)) {
            m_painter.begin(widget);
            m_painter.setCompositionMode(QPainter::CompositionMode_Source);
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
        CCopyRect copy{x, y, width, height, srcX, srcY};
        if (!ClipCopy(source.m_width, source.m_height, m_widget->width(), m_widget->height(),
                      &copy)) {
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
