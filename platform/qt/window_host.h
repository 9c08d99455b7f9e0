// The Qt side of a window: the host widgets that stand for our windows, the
// registry of live windows (every handle is checked here before it is
// followed), and the destruction of window trees. Private to platform/.
#pragma once

#include <QEvent>
#include <QFrame>
#include <QMainWindow>
#include <QString>
#include <map>

#include "platform/qt/handle.h"
#include "platform/window_object.h"

class QEventLoop;
class QPaintEvent;
class QTimer;

namespace lunvik::platform {

// A modal run in progress; lives on RunModalDialog's stack.
struct SModalState {
    QEventLoop* loop = nullptr;
    bool ended = false;
    INT_PTR code = -1;
};

// What one of our windows keeps besides its widget.
class CWindowHost {
  public:
    CWindowHost(QWidget* widget, EWindowKind kind, DWORD style, DWORD exStyle);

    HWND Handle() const { return HandleFromWidget(m_widget); }
    bool IsTopLevelDialog() const { return m_kind == EWindowKind::Dialog && m_widget->isWindow(); }

    // Sends msg through the object's map, then default processing.
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);
    // Turns a Qt event into messages; true when the event is consumed.
    bool HandleEvent(QEvent* event);
    void Paint(QPaintEvent* event);

    QWidget* m_widget;
    EWindowKind m_kind;
    DWORD m_style;
    DWORD m_exStyle;
    CWindowObject* m_object = nullptr;
    std::map<UINT_PTR, QTimer*> m_timers;
    HICON m_icons[2] = {nullptr, nullptr};  // ICON_SMALL, ICON_BIG
    int m_defaultCommand = 1;               // what Enter sends in a top-level dialog
    SModalState* m_modal = nullptr;
    bool m_dying = false;
    QString m_text;  // window text of child windows that show none
    const QPaintEvent* m_paintEvent = nullptr;
};

// Host of plain windows, dialogs and the tab view. A QFrame, so that a border
// keeps the client area (contentsRect) inside it.
class CHostWidget : public QFrame {
  public:
    CHostWidget(QWidget* parent, Qt::WindowFlags flags, EWindowKind kind, DWORD style,
                DWORD exStyle);
    ~CHostWidget() override;
    CWindowHost& Host() { return m_host; }

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    CWindowHost m_host;
};

// Host of frame windows.
class CFrameHost : public QMainWindow {
  public:
    CFrameHost(QWidget* owner, DWORD style, DWORD exStyle);
    ~CFrameHost() override;
    CWindowHost& Host() { return m_host; }

  protected:
    bool event(QEvent* event) override;

  private:
    CWindowHost m_host;
};

// A message queued by PostMessageW, delivered to the target's nearest host.
class CPostedMessageEvent : public QEvent {
  public:
    explicit CPostedMessageEvent(const MSG& msg);
    static QEvent::Type EventType();
    MSG m_msg;
};

// Registry of live windows. Controls are registered with a null host.
void RegisterWindow(QWidget* widget, CWindowHost* host, int id);
QWidget* LiveWidget(HWND hwnd);
CWindowHost* LiveHost(HWND hwnd);
// Nearest registered window at or above widget (nullptr when none).
QWidget* NearestWindow(QWidget* widget);
int WindowId(QWidget* widget);
// Every live registered window, for shutdown.
QList<QWidget*> LiveTopLevelWindows();

// WM_DESTROY to every window of the tree (parents first), then each becomes
// windowless (children first) and the root widget is deleted later.
void DestroyWindowTree(QWidget* root);
LRESULT DefaultProcessing(QWidget* widget, CWindowHost* host, UINT msg, WPARAM wParam,
                          LPARAM lParam);
// Top-left of the client area in widget coordinates.
QPoint ClientOrigin(const QWidget* widget);
int Saturate(long long value);
// Width or height from two edges, 0 for a reversed pair, never overflowing.
int Extent(LONG from, LONG to);
// Places a top-level window so that its outer rectangle is rect.
void SetOuterGeometry(QWidget* widget, const RECT& rect);
bool HaveApplication();
QString ToQString(const wchar_t* text);

// Frame support (frame_host.cpp): menu bar from a menu resource, client layout.
void AttachMenu(CFrameHost* frame, HMENU menu);
void UpdateFrameLayout(CWindowHost* frame);
// Tab view support (tab_view_host.cpp).
CHostWidget* MakeTabViewHost(QWidget* parent, Qt::WindowFlags flags, DWORD style, DWORD exStyle);

// The paint event being answered by WM_PAINT on hwnd, if any (for BeginPaint).
const QPaintEvent* CurrentPaintEvent(HWND hwnd);

}  // namespace lunvik::platform
