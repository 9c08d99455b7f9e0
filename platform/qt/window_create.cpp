// Creation of plain windows, frames and tab views: the host widget, its place
// in the registry, its rectangle, then WM_CREATE. (Dialogs are made from
// their templates in dialog_host.cpp.)
#include "platform/qt/screen_put.h"
#include "platform/qt/window_host.h"
#include "platform/shared/window_rules.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

CWindowHost* MakeHost(const SCreateParams& p, QWidget* qtParent, bool child) {
    if (p.kind == EWindowKind::Frame) {
        return &(new CFrameHost(qtParent, p.style))->Host();
    }
    const Qt::WindowFlags flags = child ? Qt::Widget : Qt::Window;
    CHostWidget* widget = p.kind == EWindowKind::TabView
                              ? MakeTabViewHost(qtParent, flags, p.style)
                              : new CHostWidget(qtParent, flags, p.kind, p.style);
    return &widget->Host();
}

// A child window keeps its name as its text; a border and a client edge lie
// outside its client area.
void SetUpChild(CWindowHost* host, const SCreateParams& p) {
    host->SetText(ToQString(p.name));
    auto* frame = qobject_cast<QFrame*>(host->Widget());
    const bool framed = frame != nullptr && SetSunkenEdge(frame, p.style, p.exStyle);
    // A plain window draws only what its WM_PAINT blits: it can go straight
    // on the screen. A framed one needs Qt for its frame.
    if (p.kind == EWindowKind::Window && !framed && PaintOnScreen(host->Widget())) {
        host->PutPaintOnScreen();
    }
}

void PlaceWindow(CWindowHost* host, const SCreateParams& p, QWidget* parent, bool child) {
    if (p.rect.left == CW_USEDEFAULT) {
        return;
    }
    if (child) {
        const QPoint origin = ClientOrigin(parent);
        host->Widget()->setGeometry(
            Saturate(0LL + origin.x() + p.rect.left), Saturate(0LL + origin.y() + p.rect.top),
            Extent(p.rect.left, p.rect.right), Extent(p.rect.top, p.rect.bottom));
    } else {
        host->SetOuter(QRect(Saturate(p.rect.left), Saturate(p.rect.top),
                             Extent(p.rect.left, p.rect.right), Extent(p.rect.top, p.rect.bottom)));
    }
}

LRESULT SendCreate(CWindowHost* host, const SCreateParams& p) {
    CREATESTRUCTW cs = CreateStructOf(p);
    return host->Send(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
}

}  // namespace

HWND CreateHostWindow(CWindowObject* object, const SCreateParams& p) {
    QWidget* parent = LiveWidget(p.parent);
    if (!HaveApplication() || (p.parent != nullptr && parent == nullptr)) {
        return nullptr;
    }
    const bool child =
        parent != nullptr && (p.style & WS_CHILD) != 0 && p.kind != EWindowKind::Frame;
    QWidget* qtParent = child ? parent : (parent != nullptr ? parent->window() : nullptr);
    CWindowHost* host = MakeHost(p, qtParent, child);
    QWidget* widget = host->Widget();
    if (child) {
        SetUpChild(host, p);
    } else {
        widget->setWindowTitle(ToQString(p.name));
    }
    const HWND hwnd = host->Handle();
    RegisterHost(host, object, static_cast<int>(p.id));
    PlaceWindow(host, p, parent, child);
    if (p.kind == EWindowKind::Frame && p.menu != nullptr) {
        AttachMenu(static_cast<CFrameHost*>(widget), p.menu);
    }
    const LRESULT created = SendCreate(host, p);
    if (LiveWidget(hwnd) == nullptr) {
        return nullptr;
    }
    if (created == -1) {
        DestroyWindowTree(widget);
        return nullptr;
    }
    if (p.kind == EWindowKind::Frame) {
        UpdateFrameLayout(host);
    }
    if ((p.style & WS_VISIBLE) != 0) {
        widget->show();
    } else if (child) {
        widget->hide();
    }
    return hwnd;
}

}  // namespace lunvik::platform
