// What one of our windows keeps besides its widget, and Qt's events turned
// into its messages: close, resize, Enter and Escape in a dialog, paint, and
// the messages PostMessageW queued.
#include "platform/qt/window_host.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWindow>
#include <algorithm>
#include <array>
#include <utility>

#include "platform/qt/screen_put.h"
#include "platform/shared/message_rules.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

// Enter clicks a dialog's focused push button, which is its default one then;
// otherwise, in a top-level dialog, Enter clicks the default button and
// Escape Cancel.
bool DialogKey(CWindowHost& host, int defaultCommand, const QKeyEvent* key) {
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    auto* focused = qobject_cast<QPushButton*>(host.Widget()->window()->focusWidget());
    if (enter && focused != nullptr && focused->parentWidget() == host.Widget()) {
        focused->click();
        return true;
    }
    if (!host.IsTopLevelDialog()) {
        return false;
    }
    const int command = DialogKeyCommand(enter                          ? VK_RETURN
                                         : key->key() == Qt::Key_Escape ? VK_ESCAPE
                                                                        : 0,
                                         defaultCommand);
    if (command == 0) {
        return false;
    }
    HWND control = GetDlgItem(host.Handle(), command);
    host.Send(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), BN_CLICKED),
              reinterpret_cast<LPARAM>(control));
    return true;
}

}  // namespace

CWindowHost::CWindowHost(QWidget* widget, EWindowKind kind, DWORD style)
    : m_widget(widget), m_kind(kind), m_style(style) {}

CWindowHost::~CWindowHost() {
    // The widget is being deleted by Qt with a parent that did not go through
    // DestroyWindow: the tree is taken down now, around the widget.
    if (!m_dying) {
        DestroyWindowTree(m_widget, true);
    }
    UnregisterWindow(m_widget);
}

CWindowObject* CWindowHost::TakeObject() {
    CWindowObject* object = m_object;
    m_object = nullptr;
    return object;
}

LRESULT CWindowHost::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(Handle(), msg, wParam, lParam);
}

bool CWindowHost::HandleEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::Close:
            event->ignore();
            Send(WM_CLOSE, 0, 0);
            return true;
        case QEvent::Move:
        case QEvent::Show:
        case QEvent::WindowActivate:
            FitOuter();
            RecentreDecorated();
            return false;
        case QEvent::Resize: {
            FitOuter();
            const QRect client = m_widget->contentsRect();
            Send(WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(client.width()), static_cast<WORD>(client.height())));
            return false;
        }
        case QEvent::KeyPress:
            return m_kind == EWindowKind::Dialog &&
                   DialogKey(*this, m_defaultCommand, static_cast<QKeyEvent*>(event));
        default:
            break;
    }
    if (event->type() == CPostedMessageEvent::EventType()) {
        DispatchPosted(static_cast<CPostedMessageEvent*>(event)->m_msg);
        return true;
    }
    return false;
}

void CWindowHost::Paint(const QRect& rect) {
    m_paintRect = rect;  // what the paint must cover
    Send(WM_PAINT, 0, 0);
}

namespace {
int g_ticks = 0;               // ticks in progress (a tick's handler may run a loop)
bool g_paintingTicks = false;  // painting what they asked for
// Windows with a deferred repaint: a few drawing areas at most; one more
// paints through Qt.
std::array<HWND, 8> g_deferred{};
std::size_t g_deferredCount = 0;
}  // namespace

bool CWindowHost::DeferPaint(const QRect& rect) {
    if (g_ticks == 0 || g_paintingTicks || !m_widget->isVisible()) {
        return false;
    }
    const QRect part = rect & m_widget->rect();
    if (part.isEmpty()) {
        return true;
    }
    if (m_deferredPaint.isEmpty()) {
        if (g_deferredCount == g_deferred.size()) {
            return false;
        }
        g_deferred[g_deferredCount++] = Handle();
    }
    m_deferredPaint |= part;
    return true;
}

void CWindowHost::PaintDeferred() {
    const QRect rect = std::exchange(m_deferredPaint, QRect());
    if (rect.isEmpty() || !m_widget->isVisible()) {
        return;
    }
    if (m_screenPut == nullptr || !m_widget->testAttribute(Qt::WA_PaintOnScreen)) {
        m_widget->repaint(rect);  // through Qt's backing store, at once
        return;
    }
    // A window not on the screen is painted whole as it comes back.
    const QWindow* top = m_widget->window()->windowHandle();
    if (top != nullptr && top->isExposed()) {
        m_paintingDeferred = true;
        Paint(rect);
        m_paintingDeferred = false;
    }
}

CTickPaints::CTickPaints() {
    ++g_ticks;
}

CTickPaints::~CTickPaints() {
    --g_ticks;
    g_paintingTicks = true;  // a paint that asks for another repaint goes through Qt
    while (g_deferredCount > 0) {
        const HWND hwnd = g_deferred[--g_deferredCount];
        if (CWindowHost* host = LiveHost(hwnd)) {
            host->PaintDeferred();
        }
    }
    g_paintingTicks = false;
}

void CWindowHost::KeepPaintContext(std::unique_ptr<HDC__> context) {
    m_paintContext = std::move(context);
}

void CWindowHost::PutPaintOnScreen() {
    m_screenPut = std::make_unique<CScreenPut>(m_widget);
}

HICON CWindowHost::SetIconSlot(int slot, HICON icon) {
    return std::exchange(m_icons[slot], icon);
}

bool CWindowHost::EndModal(INT_PTR code) {
    if (m_modal == nullptr) {
        return false;
    }
    m_modal->ended = true;
    m_modal->code = code;
    m_widget->hide();
    if (m_modal->loop != nullptr) {
        m_modal->loop->Exit();
    }
    return true;
}

void CWindowHost::Stop() {
    m_dying = true;
    KillWindowTimers(this);
    if (m_modal != nullptr) {
        if (m_modal->loop != nullptr) {
            m_modal->loop->Exit();
        }
        m_modal = nullptr;
    }
}

void CWindowHost::SetOuter(const QRect& outer) {
    m_outer = FitOnScreen(outer);
    BoundToScreens(m_widget);
    m_fitOuter = true;
    m_fittedMargins = QMargins();
    // Placed by its frame's corner: moved before the native window exists, the
    // window asks the window manager to put the frame, not the client area,
    // there. The frame's size is not known before the window manager has
    // decorated the window; FitOuter sizes the client area once it is.
    m_widget->resize(m_outer.size());
    m_widget->move(m_outer.topLeft());
}

void CWindowHost::FitOuter() {
    QWindow* window = m_widget->windowHandle();
    if (!m_fitOuter || window == nullptr) {
        return;
    }
    const QMargins frame = window->frameMargins();
    if (frame == m_fittedMargins) {
        return;
    }
    m_fittedMargins = frame;
    const QSize outer = m_outer.size();
    m_widget->resize(std::max(outer.width() - frame.left() - frame.right(), 0),
                     std::max(outer.height() - frame.top() - frame.bottom(), 0));
    if (m_widget->frameGeometry().topLeft() != m_outer.topLeft()) {
        m_widget->move(m_outer.topLeft());
    }
}

void CWindowHost::CentredUnshown(HWND on, const QMargins& guessedFrame) {
    m_centred = true;
    m_centredOn = on;
    m_centredMargins = guessedFrame;
}

// A frame without a sizing border, for one, is thinner than the guess. Until
// the window manager has framed it, its margins are none.
void CWindowHost::RecentreDecorated() {
    QWindow* window = m_widget->windowHandle();
    if (!m_centred || window == nullptr || !m_widget->isVisible() ||
        window->frameMargins().isNull() || window->frameMargins() == m_centredMargins) {
        return;
    }
    m_centred = false;
    CenterTopLevel(m_widget, LiveWidget(m_centredOn));
}

}  // namespace lunvik::platform
