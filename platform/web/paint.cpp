// Painting: WM_PAINT for what was invalidated, once the loop has handled
// its events and ticks, and the paint context that puts a bitmap's pixels
// on the window's canvas: only the box being repainted goes to the page,
// from one image over the bitmap's pixels that the page keeps.
#include "platform/paint.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// A window's paint context, kept with it, so that a repaint allocates nothing.
class CCanvasContext : public HDC__ {
  public:
    explicit CCanvasContext(SWebWindow* w) : HDC__(EType::Paint), m_window(w) {}

    void Begin() {
        m_scale = lv_scale();
        const RECT& r = m_window->painting;
        m_box = RECT{static_cast<LONG>(std::floor(r.left * m_scale)),
                     static_cast<LONG>(std::floor(r.top * m_scale)),
                     static_cast<LONG>(std::ceil(r.right * m_scale)),
                     static_cast<LONG>(std::ceil(r.bottom * m_scale))};
        m_busy = true;
    }
    void End() {
        SelectObject(this, GetStockObject(BLACK_PEN));
        SelectObject(this, GetStockObject(WHITE_BRUSH));
        m_busy = false;
    }

    BOOL BlitFrom(const HBITMAP__& source, LONG x, LONG y, LONG width, LONG height, LONG srcX,
                  LONG srcY) override {
        if (!m_busy || m_window->canvas == 0) {
            return FALSE;
        }
        CCopyRect copy{x, y, width, height, srcX, srcY};
        const RECT client = ClientRect(m_window);
        if (!ClipCopy(source.m_width, source.m_height,
                      static_cast<LONG>(std::ceil(client.right * m_scale)),
                      static_cast<LONG>(std::ceil(client.bottom * m_scale)), &copy)) {
            return TRUE;
        }
        const RECT to{std::max(copy.m_x, m_box.left), std::max(copy.m_y, m_box.top),
                      std::min(copy.m_x + copy.m_width, m_box.right),
                      std::min(copy.m_y + copy.m_height, m_box.bottom)};
        if (to.left < to.right && to.top < to.bottom) {
            Put(source, to, copy.m_srcX + to.left - copy.m_x, copy.m_srcY + to.top - copy.m_y);
        }
        return TRUE;
    }

    bool m_busy = false;

  private:
    // The bitmap's pixels are in the canvas's byte order already.
    void Put(const HBITMAP__& source, const RECT& to, LONG fromX, LONG fromY) {
        lv_put(m_window->canvas, source.m_bits, source.m_width, source.m_height, to.left - fromX,
               to.top - fromY, fromX, fromY, to.right - to.left, to.bottom - to.top);
    }

    SWebWindow* m_window;
    RECT m_box{};  // device pixels the paint covers
};

void PaintTree(SWebWindow* w) {
    if (!w->visible) {
        return;  // kept until it shows: it then shows the current picture
    }
    if (w->invalid.left < w->invalid.right && w->invalid.top < w->invalid.bottom) {
        w->painting = w->invalid;
        w->invalid = RECT{};
        const HWND hwnd = w->Handle();
        SendMessageW(hwnd, WM_PAINT, 0, 0);
        if ((w = Live(hwnd)) == nullptr) {
            return;
        }
    }
    const std::vector<SWebWindow*> children = w->children;
    for (SWebWindow* child : children) {
        if (Live(child->Handle()) != nullptr && !child->TopLevel()) {
            PaintTree(child);
        }
    }
}

}  // namespace

void PaintInvalid() {
    for (SWebWindow* top : TopLevelWindows()) {
        PaintTree(top);
    }
}

}  // namespace lunvik::platform

using lunvik::platform::CCanvasContext;
using lunvik::platform::SWebWindow;

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    SWebWindow* w = lunvik::platform::Live(hwnd);
    if (w == nullptr || paint == nullptr) {
        return nullptr;
    }
    if (w->paintContext == nullptr) {
        w->paintContext = std::make_unique<CCanvasContext>(w);
    }
    auto* context = static_cast<CCanvasContext*>(w->paintContext.get());
    context->Begin();
    *paint = PAINTSTRUCT{};
    paint->hdc = context;
    paint->rcPaint = lunvik::platform::ClientRect(w);
    return context;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (paint == nullptr || paint->hdc == nullptr || paint->hdc->m_type != HDC__::EType::Paint) {
        return FALSE;
    }
    static_cast<CCanvasContext*>(paint->hdc)->End();
    return TRUE;
}
