#include "platform/paint.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/qt/screen_put.h"
#include "platform/qt/window_host.h"

#include <cmath>

namespace {

using lunvik::platform::CWindowHost;

// A window's paint context: a QPainter on the widget, open only while the
// widget is in its paint event (a painter on a widget is refused elsewhere).
// One is kept with each window and used again by its next paint, together
// with the QImage that wraps the bitmap it last drew: a repaint allocates
// nothing of ours.
class CPaintContext : public HDC__ {
  public:
    explicit CPaintContext(QWidget* widget, bool kept)
        : HDC__(EType::Paint), m_widget(widget), m_kept(kept) {}

    ~CPaintContext() override { End(); }

    void Begin(CWindowHost* host) {
        m_busy = true;
        m_scale = m_widget->devicePixelRatioF();
        m_host = host;
        if (OnScreen()) {
            m_onScreen = DeviceRect(host->PaintRect(), m_scale);
        } else if (m_widget->testAttribute(Qt::WA_WState_InPaintEvent)) {
            m_painter.begin(m_widget);
            m_painter.setCompositionMode(QPainter::CompositionMode_Source);
            if (m_scale != 1.0) {
                // Draw in device pixels: a bitmap pixel is one pixel of the screen,
                // never stretched or smoothed.
                m_painter.setWorldTransform(QTransform::fromScale(1.0 / m_scale, 1.0 / m_scale));
            }
        }
    }

    // Back to what BeginPaint hands out: the next paint starts afresh.
    void End() {
        if (m_painter.isActive()) {
            m_painter.end();
        }
        SelectObject(this, GetStockObject(BLACK_PEN));
        SelectObject(this, GetStockObject(WHITE_BRUSH));
        m_current = POINT{};
        m_busy = false;
        m_host = nullptr;
    }

    BOOL BlitFrom(const HBITMAP__& source, LONG x, LONG y, LONG width, LONG height, LONG srcX,
                  LONG srcY) override {
        const bool onScreen = OnScreen();
        if (!onScreen && !m_painter.isActive()) {
            return FALSE;
        }
        // All in device pixels (BitBlt has mapped them).
        CCopyRect copy{x, y, width, height, srcX, srcY};
        const auto deviceWidth = static_cast<LONG>(std::ceil(m_widget->width() * m_scale));
        const auto deviceHeight = static_cast<LONG>(std::ceil(m_widget->height() * m_scale));
        if (!ClipCopy(source.m_width, source.m_height, deviceWidth, deviceHeight, &copy)) {
            return TRUE;
        }
        if (onScreen) {
            PutOnScreen(source, copy);
            return TRUE;
        }
        // Wraps the bitmap's own memory: no conversion and no copy.
        if (m_image.constBits() != reinterpret_cast<const uchar*>(source.m_bits) ||
            m_image.width() != source.m_width || m_image.height() != source.m_height) {
            m_image = QImage(reinterpret_cast<const uchar*>(source.m_bits), source.m_width,
                             source.m_height, qsizetype{source.m_width} * 4, QImage::Format_RGB32);
        }
        m_painter.drawImage(QPoint(copy.m_x, copy.m_y), m_image,
                            QRect(copy.m_srcX, copy.m_srcY, copy.m_width, copy.m_height));
        return TRUE;
    }

    QWidget* const m_widget;
    const bool m_kept;  // the window's own, used again; otherwise freed by EndPaint
    bool m_busy = false;

  private:
    // Straight on the screen, and like a painter only in the widget's paint
    // event, or in a paint deferred to a tick's end.
    bool OnScreen() const {
        return m_host != nullptr && m_host->ScreenPut() != nullptr &&
               m_widget->testAttribute(Qt::WA_PaintOnScreen) &&
               (m_widget->testAttribute(Qt::WA_WState_InPaintEvent) || m_host->PaintingDeferred());
    }

    // Only what the paint must cover goes to the screen: the repaint of a
    // changed part of the picture puts that part.
    void PutOnScreen(const HBITMAP__& source, const CCopyRect& copy) {
        const QRect to = QRect(copy.m_x, copy.m_y, copy.m_width, copy.m_height) & m_onScreen;
        const QPoint from(copy.m_srcX + to.x() - copy.m_x, copy.m_srcY + to.y() - copy.m_y);
        if (!m_host->ScreenPut()->Put(source, QRect(from, to.size()), to.topLeft())) {
            // The screen would not take it: Qt paints this window from now on.
            m_widget->setAttribute(Qt::WA_PaintOnScreen, false);
            m_widget->update();
        }
    }

    // A rectangle of the widget in device pixels, rounded outwards.
    static QRect DeviceRect(const QRect& rect, double scale) {
        const auto left = static_cast<int>(std::floor(rect.x() * scale));
        const auto top = static_cast<int>(std::floor(rect.y() * scale));
        return QRect(QPoint(left, top),
                     QPoint(static_cast<int>(std::ceil((rect.x() + rect.width()) * scale)) - 1,
                            static_cast<int>(std::ceil((rect.y() + rect.height()) * scale)) - 1));
    }

    CWindowHost* m_host = nullptr;
    QRect m_onScreen;  // device pixels the paint on the screen covers
    QPainter m_painter;
    QImage m_image;
};

}  // namespace

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    CWindowHost* host = nullptr;
    QWidget* widget = lunvik::platform::LiveWidget(hwnd, &host);
    if (widget == nullptr || paint == nullptr) {
        return nullptr;
    }
    CPaintContext* context = nullptr;
    if (host != nullptr) {
        if (host->PaintContext() == nullptr) {
            host->KeepPaintContext(std::make_unique<CPaintContext>(widget, true));
        }
        context = static_cast<CPaintContext*>(host->PaintContext());
    }
    if (context == nullptr || context->m_busy) {
        context = new CPaintContext(widget, false);  // not a window of ours, or painting already
    }
    context->Begin(host);
    *paint = PAINTSTRUCT{};
    paint->hdc = context;
    paint->rcPaint = RECT{0, 0, widget->width(), widget->height()};
    return context;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (paint == nullptr || paint->hdc == nullptr || paint->hdc->m_type != HDC__::EType::Paint) {
        return FALSE;
    }
    auto* context = static_cast<CPaintContext*>(paint->hdc);
    if (context->m_kept) {
        context->End();
    } else {
        delete context;
    }
    return TRUE;
}
