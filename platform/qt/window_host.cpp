#include "platform/qt/window_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <climits>
#include <unordered_map>

#include "platform/message_loop.h"
#include "platform/qt/loop_stack.h"
#include "platform/resources.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

struct SWindowEntry {
    QPointer<QWidget> widget;
    CWindowHost* host = nullptr;
    int id = 0;
};

std::unordered_map<QWidget*, SWindowEntry>& Registry() {
    // Never destroyed: window objects of static storage may ask it about
    // their handle while the program exits.
    static auto& registry = *new std::unordered_map<QWidget*, SWindowEntry>();
    return registry;
}

SWindowEntry* FindEntry(QWidget* widget) {
    auto& registry = Registry();
    auto it = registry.find(widget);
    if (it == registry.end()) {
        return nullptr;
    }
    if (it->second.widget.isNull()) {
        registry.erase(it);
        return nullptr;
    }
    return &it->second;
}

void Unregister(QWidget* widget) {
    Registry().erase(widget);
}

// Text shown by a control or a window, whatever widget shows it.
void SetWidgetText(QWidget* widget, CWindowHost* host, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
        // A new text shows from its start, as a Win32 edit shows it; Qt
        // would scroll to the end and cut off the label of a status line.
        edit->setCursorPosition(0);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    } else if (widget->isWindow()) {
        widget->setWindowTitle(text);
    } else if (host != nullptr) {
        host->m_text = text;
    }
}

QString WidgetText(QWidget* widget, CWindowHost* host) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return group->title();
    }
    if (widget->isWindow()) {
        return widget->windowTitle();
    }
    return host != nullptr ? host->m_text : QString();
}

int CopyText(const QString& text, wchar_t* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    const std::wstring w = text.toStdWString();
    const int n = std::min(static_cast<int>(w.size()), size - 1);
    std::copy_n(w.data(), n, buffer);
    buffer[n] = L'\0';
    return n;
}

// An icon handle is the address of an image of the icon resources.
const SIconImage* KnownIcon(HICON icon) {
    const SResourceTable* table = GetResources();
    if (icon == nullptr || table == nullptr) {
        return nullptr;
    }
    for (const SIconResource& resource : table->icons) {
        for (const SIconImage& image : resource.images) {
            if (reinterpret_cast<HICON>(const_cast<SIconImage*>(&image)) == icon) {
                return &image;
            }
        }
    }
    return nullptr;
}

// The picture of an icon image: each character a palette key; a short row
// or an unknown key is transparent.
QImage IconPicture(const SIconImage& image) {
    const int size = std::max(image.size, 0);
    QImage picture(size, size, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = 0; y < size && image.rows != nullptr; ++y) {
        const char* row = image.rows[y];
        for (int x = 0; row != nullptr && x < size && row[x] != '\0'; ++x) {
            for (const SIconColor& color : image.palette) {
                if (color.key == row[x]) {
                    picture.setPixel(x, y, color.argb);
                    break;
                }
            }
        }
    }
    return picture;
}

LRESULT SetIcon(CWindowHost* host, WPARAM which, LPARAM lParam) {
    const int slot = which == ICON_BIG ? 1 : 0;
    const HICON icon = reinterpret_cast<HICON>(lParam);
    if (icon != nullptr && KnownIcon(icon) == nullptr) {
        return 0;
    }
    const HICON previous = host->m_icons[slot];
    host->m_icons[slot] = icon;
    if (host->m_widget->isWindow()) {
        QIcon qicon;
        for (HICON h : host->m_icons) {
            if (const SIconImage* image = KnownIcon(h)) {
                qicon.addPixmap(QPixmap::fromImage(IconPicture(*image)));
            }
        }
        host->m_widget->setWindowIcon(qicon);
    }
    return reinterpret_cast<LRESULT>(previous);
}

QEvent::Type g_postedType = QEvent::None;

}  // namespace

// ---- registry ----

void RegisterWindow(QWidget* widget, CWindowHost* host, int id) {
    Registry()[widget] = SWindowEntry{QPointer<QWidget>(widget), host, id};
}

QWidget* LiveWidget(HWND hwnd) {
    if (hwnd == nullptr) {
        return nullptr;
    }
    SWindowEntry* entry = FindEntry(WidgetFromHandle(hwnd));
    return entry != nullptr ? entry->widget.data() : nullptr;
}

CWindowHost* LiveHost(HWND hwnd) {
    if (hwnd == nullptr) {
        return nullptr;
    }
    SWindowEntry* entry = FindEntry(WidgetFromHandle(hwnd));
    return entry != nullptr ? entry->host : nullptr;
}

QWidget* NearestWindow(QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (FindEntry(widget) != nullptr) {
            return widget;
        }
    }
    return nullptr;
}

int WindowId(QWidget* widget) {
    SWindowEntry* entry = FindEntry(widget);
    return entry != nullptr ? entry->id : 0;
}

QList<QWidget*> LiveTopLevelWindows() {
    QList<QWidget*> result;
    for (auto& [widget, entry] : Registry()) {
        if (!entry.widget.isNull() && NearestWindow(widget->parentWidget()) == nullptr) {
            result.append(widget);
        }
    }
    return result;
}

bool HaveApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QString ToQString(const wchar_t* text) {
    return text != nullptr ? QString::fromWCharArray(text) : QString();
}

QPoint ClientOrigin(const QWidget* widget) {
    return widget->contentsRect().topLeft();
}

int Saturate(long long value) {
    return static_cast<int>(
        std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

int Extent(LONG from, LONG to) {
    // Any rectangle is accepted; a reversed or huge one must not overflow.
    return Saturate(std::max(static_cast<long long>(to) - from, 0LL));
}

void SetOuterGeometry(QWidget* widget, const RECT& rect) {
    // The frame's size is known once the native window exists (0 before the
    // window manager has decorated it on some systems).
    widget->winId();
    QMargins frame;
    if (QWindow* window = widget->windowHandle()) {
        frame = window->frameMargins();
    }
    const int width = Extent(rect.left, rect.right) - frame.left() - frame.right();
    const int height = Extent(rect.top, rect.bottom) - frame.top() - frame.bottom();
    widget->setGeometry(Saturate(0LL + rect.left + frame.left()),
                        Saturate(0LL + rect.top + frame.top()), std::max(width, 0),
                        std::max(height, 0));
}

// ---- destruction ----

namespace {

void DestroyTree(QWidget* root, bool rootIsBeingDeleted) {
    SWindowEntry* rootEntry = FindEntry(root);
    if (rootEntry == nullptr || (rootEntry->host != nullptr && rootEntry->host->m_dying)) {
        return;
    }
    // Pre-order: the root, then its descendants as they stand in the tree
    // (owned top-level windows are Qt children too, and go with their owner).
    QList<QPointer<QWidget>> tree;
    tree.append(root);
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (FindEntry(child) != nullptr) {
            tree.append(child);
        }
    }
    for (const QPointer<QWidget>& widget : tree) {
        if (SWindowEntry* entry = FindEntry(widget)) {
            if (CWindowHost* host = entry->host) {
                host->m_dying = true;
                for (auto& [id, timer] : host->m_timers) {
                    timer->stop();
                }
                if (host->m_modal != nullptr) {
                    if (host->m_modal->loop != nullptr) {
                        host->m_modal->loop->exit(0);
                    }
                    host->m_modal = nullptr;
                }
            }
        }
    }
    for (const QPointer<QWidget>& widget : tree) {
        if (SWindowEntry* entry = FindEntry(widget); entry != nullptr && entry->host != nullptr) {
            entry->host->Send(WM_DESTROY, 0, 0);
        }
    }
    for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
        QWidget* widget = it->data();
        SWindowEntry* entry = FindEntry(widget);
        if (entry == nullptr) {
            continue;
        }
        CWindowHost* host = entry->host;
        Unregister(widget);
        if (host != nullptr && host->m_object != nullptr) {
            CWindowObject* object = host->m_object;
            host->m_object = nullptr;
            object->DetachWindow(HandleFromWidget(widget));
        }
    }
    if (rootIsBeingDeleted) {
        return;
    }
    if (!root->isHidden()) {
        root->hide();
    }
    // Deleted later: the window may be going away from inside one of its own
    // event handlers (a click, a key, a timer, a close).
    root->deleteLater();
}

}  // namespace

void DestroyWindowTree(QWidget* root) {
    DestroyTree(root, false);
}

void ForgetObject(CWindowObject* object, HWND hwnd) {
    CWindowHost* host = LiveHost(hwnd);
    if (host == nullptr || host->m_object != object) {
        return;
    }
    host->m_object = nullptr;
    DestroyWindowTree(host->m_widget);
}

// ---- default processing ----

LRESULT DefaultProcessing(QWidget* widget, CWindowHost* host, UINT msg, WPARAM wParam,
                          LPARAM lParam) {
    switch (msg) {
        case WM_SETTEXT:
            SetWidgetText(widget, host, ToQString(reinterpret_cast<const wchar_t*>(lParam)));
            return TRUE;
        case WM_GETTEXT:
            return CopyText(WidgetText(widget, host), reinterpret_cast<wchar_t*>(lParam),
                            static_cast<int>(wParam));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(WidgetText(widget, host).toStdWString().size());
        case WM_SETICON:
            return host != nullptr ? SetIcon(host, wParam, lParam) : 0;
        case WM_CLOSE:
            if (host != nullptr && host->m_kind == EWindowKind::Dialog) {
                // A dialog's close box is its Cancel.
                HWND cancel = GetDlgItem(host->Handle(), IDCANCEL);
                host->Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                           reinterpret_cast<LPARAM>(cancel));
            } else {
                DestroyWindowTree(widget);
            }
            return 0;
        case WM_SIZE:
            if (host != nullptr && host->m_kind == EWindowKind::Frame) {
                UpdateFrameLayout(host);
            }
            return 0;
        case WM_DESTROY:
            // The application's main frame (neither child nor pop-up) ends the program.
            if (host != nullptr && host->m_kind == EWindowKind::Frame &&
                (host->m_style & (WS_CHILD | WS_POPUP)) == 0) {
                PostQuitMessage(1);
            }
            return 0;
        default:
            return 0;
    }
}

// ---- hosts ----

CWindowHost::CWindowHost(QWidget* widget, EWindowKind kind, DWORD style, DWORD exStyle)
    : m_widget(widget), m_kind(kind), m_style(style), m_exStyle(exStyle) {}

LRESULT CWindowHost::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(Handle(), msg, wParam, lParam);
}

bool CWindowHost::HandleEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::Close:
            event->ignore();
            Send(WM_CLOSE, 0, 0);
            return true;
        case QEvent::Resize: {
            const QRect client = m_widget->contentsRect();
            Send(WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(client.width()), static_cast<WORD>(client.height())));
            return false;
        }
        case QEvent::KeyPress: {
            if (!IsTopLevelDialog()) {
                return false;
            }
            auto* key = static_cast<QKeyEvent*>(event);
            int command = 0;
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                command = m_defaultCommand;
            } else if (key->key() == Qt::Key_Escape) {
                command = IDCANCEL;
            }
            if (command == 0) {
                return false;
            }
            HWND control = GetDlgItem(Handle(), command);
            Send(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
            return true;
        }
        default:
            break;
    }
    if (event->type() == CPostedMessageEvent::EventType()) {
        MSG msg = static_cast<CPostedMessageEvent*>(event)->m_msg;
        CMessageLoop* loop = InnermostMessageLoop();
        if (loop == nullptr || !loop->PreTranslateMessage(&msg)) {
            SendMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        }
        return true;
    }
    return false;
}

void CWindowHost::Paint(QPaintEvent* event) {
    m_paintEvent = event;
    Send(WM_PAINT, 0, 0);
    m_paintEvent = nullptr;
}

const QPaintEvent* CurrentPaintEvent(HWND hwnd) {
    CWindowHost* host = LiveHost(hwnd);
    return host != nullptr ? host->m_paintEvent : nullptr;
}

CHostWidget::CHostWidget(QWidget* parent, Qt::WindowFlags flags, EWindowKind kind, DWORD style,
                         DWORD exStyle)
    : QFrame(parent, flags), m_host(this, kind, style, exStyle) {
    if (kind == EWindowKind::Window) {
        // The window's own WM_PAINT is all that is drawn.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAutoFillBackground(false);
    } else {
        setAutoFillBackground(true);
    }
}

CHostWidget::~CHostWidget() {
    // Deleted by Qt with a parent that did not go through DestroyWindow.
    if (!m_host.m_dying) {
        DestroyTree(this, true);
    }
    Unregister(this);
}

bool CHostWidget::event(QEvent* event) {
    if (m_host.HandleEvent(event)) {
        return true;
    }
    return QFrame::event(event);
}

void CHostWidget::paintEvent(QPaintEvent* event) {
    if (m_host.m_kind == EWindowKind::Window) {
        m_host.Paint(event);
    }
    if (frameStyle() != QFrame::NoFrame) {
        QFrame::paintEvent(event);
    }
}

CFrameHost::CFrameHost(QWidget* owner, DWORD style, DWORD exStyle)
    : QMainWindow(owner, owner != nullptr ? Qt::Window : Qt::WindowFlags()),
      m_host(this, EWindowKind::Frame, style, exStyle) {}

CFrameHost::~CFrameHost() {
    if (!m_host.m_dying) {
        DestroyTree(this, true);
    }
    Unregister(this);
}

bool CFrameHost::event(QEvent* event) {
    if (m_host.HandleEvent(event)) {
        return true;
    }
    return QMainWindow::event(event);
}

CPostedMessageEvent::CPostedMessageEvent(const MSG& msg) : QEvent(EventType()), m_msg(msg) {}

QEvent::Type CPostedMessageEvent::EventType() {
    if (g_postedType == QEvent::None) {
        g_postedType = static_cast<QEvent::Type>(QEvent::registerEventType());
    }
    return g_postedType;
}

// ---- creation ----

HWND CreateHostWindow(CWindowObject* object, const SCreateParams& p) {
    if (!HaveApplication()) {
        return nullptr;
    }
    QWidget* parent = LiveWidget(p.parent);
    if (p.parent != nullptr && parent == nullptr) {
        return nullptr;
    }
    const bool child =
        parent != nullptr && (p.style & WS_CHILD) != 0 && p.kind != EWindowKind::Frame;
    QWidget* qtParent = child ? parent : (parent != nullptr ? parent->window() : nullptr);

    QWidget* widget = nullptr;
    CWindowHost* host = nullptr;
    if (p.kind == EWindowKind::Frame) {
        auto* frame = new CFrameHost(qtParent, p.style, p.exStyle);
        widget = frame;
        host = &frame->Host();
    } else {
        const Qt::WindowFlags flags = child ? Qt::Widget : Qt::Window;
        CHostWidget* hostWidget =
            p.kind == EWindowKind::TabView
                ? MakeTabViewHost(qtParent, flags, p.style, p.exStyle)
                : new CHostWidget(qtParent, flags, p.kind, p.style, p.exStyle);
        widget = hostWidget;
        host = &hostWidget->Host();
    }
    if (!child) {
        widget->setWindowTitle(ToQString(p.name));
    } else {
        host->m_text = ToQString(p.name);
        // A border and a client edge lie outside the client area.
        const int edge =
            ((p.style & WS_BORDER) != 0 ? 1 : 0) + ((p.exStyle & WS_EX_CLIENTEDGE) != 0 ? 2 : 0);
        if (auto* frame = qobject_cast<QFrame*>(widget); frame != nullptr && edge > 0) {
            frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            frame->setLineWidth(edge);
        }
    }
    const HWND hwnd = HandleFromWidget(widget);
    RegisterWindow(widget, host, static_cast<int>(p.id));
    host->m_object = object;
    object->AttachWindow(hwnd);

    if (p.rect.left != CW_USEDEFAULT) {
        if (child) {
            const QPoint origin = ClientOrigin(parent);
            widget->setGeometry(
                Saturate(0LL + origin.x() + p.rect.left), Saturate(0LL + origin.y() + p.rect.top),
                Extent(p.rect.left, p.rect.right), Extent(p.rect.top, p.rect.bottom));
        } else {
            SetOuterGeometry(widget, p.rect);
        }
    }
    if (p.kind == EWindowKind::Frame && p.menu != nullptr) {
        AttachMenu(static_cast<CFrameHost*>(widget), p.menu);
    }

    CREATESTRUCTW cs;
    cs.lpCreateParams = p.param;
    cs.hMenu = p.menu;
    cs.hwndParent = p.parent;
    cs.x = p.rect.left;
    cs.y = p.rect.top;
    cs.cx = Extent(p.rect.left, p.rect.right);
    cs.cy = Extent(p.rect.top, p.rect.bottom);
    cs.style = static_cast<LONG>(p.style);
    cs.lpszName = p.name;
    cs.lpszClass = p.className;
    cs.dwExStyle = p.exStyle;
    const LRESULT created = host->Send(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
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
