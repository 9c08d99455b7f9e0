// The Qt side of a window, private to platform/: the host widgets that stand
// for our windows and what each keeps, and the functions the files of this
// folder share, grouped by the file that defines them.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <QString>
#include <array>
#include <memory>

#include "platform/qt/handle.h"
#include "platform/raster/raster.h"
#include "platform/shared/dialog_units.h"
#include "platform/shared/loop_stack.h"
#include "platform/shared/window_rules.h"
#include "platform/window_object.h"

class QFont;
class QPaintEvent;
struct SDialogControl;
struct xcb_connection_t;

namespace lunvik::platform {

class CScreenPut;

// What one of our windows keeps besides its widget, and how Qt's events
// become its messages. A member of the widget: it goes with it. Its functions
// other than the one-line ones here are all in window_host.cpp.
class CWindowHost {
  public:
    CWindowHost(QWidget* widget, EWindowKind kind, DWORD style);
    ~CWindowHost();
    CWindowHost(const CWindowHost&) = delete;
    CWindowHost& operator=(const CWindowHost&) = delete;

    HWND Handle() const { return HandleFromWidget(m_widget); }
    QWidget* Widget() const { return m_widget; }
    EWindowKind Kind() const { return m_kind; }
    DWORD Style() const { return m_style; }
    bool IsTopLevelDialog() const { return m_kind == EWindowKind::Dialog && m_widget->isWindow(); }

    // The object behind the window, from its registration (RegisterHost) until
    // it is taken: the window then goes on without one.
    CWindowObject* Object() const { return m_object; }
    void SetObject(CWindowObject* object) { m_object = object; }
    CWindowObject* TakeObject();

    // Sends msg through the object's map, then default processing.
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);
    // Turns a Qt event into messages; true when the event is consumed.
    bool HandleEvent(QEvent* event);
    // WM_PAINT for the part rect of the widget, which PaintRect tells the paint.
    void Paint(const QRect& rect);
    const QRect& PaintRect() const { return m_paintRect; }
    // BeginPaint's context, kept for the window's next paint.
    HDC__* PaintContext() const { return m_paintContext.get(); }
    void KeepPaintContext(std::unique_ptr<HDC__> context);
    // From now on its paint goes straight on its own X11 window (screen_put.h).
    void PutPaintOnScreen();
    CScreenPut* ScreenPut() const { return m_screenPut.get(); }
    // A repaint asked for during a timer tick waits for the tick's end
    // (CTickPaints); false when it cannot.
    bool DeferPaint(const QRect& rect);
    void PaintDeferred();
    bool PaintingDeferred() const { return m_paintingDeferred; }

    // Window text of a child window that shows none.
    const QString& Text() const { return m_text; }
    void SetText(const QString& text) { m_text = text; }
    // What Enter sends in a top-level dialog: its default push button's id.
    void SetDefaultCommand(int id) { m_defaultCommand = id; }
    // Sets the icon of a slot (0 ICON_SMALL, 1 ICON_BIG); returns the one before.
    HICON SetIconSlot(int slot, HICON icon);
    const std::array<HICON, 2>& Icons() const { return m_icons; }

    // A modal run of this dialog (RunModalDialog's, on its stack), or null.
    void SetModal(SModalState* state) { m_modal = state; }
    // Ends the modal run with code and hides the dialog; false when none runs.
    bool EndModal(INT_PTR code);
    // No more timers and no more modal run: nothing reaches a dying window.
    void Stop();
    bool Dying() const { return m_dying; }

    // Places a top-level window so that its outer rectangle, window manager's
    // frame included, is outer; FitOuter keeps it so when the frame's margins
    // become known or change.
    void SetOuter(const QRect& outer);
    void FitOuter();
    // Centred on the window on before it was shown, with a guessed frame: it
    // is centred again once its real frame differs (RecentreDecorated).
    void CentredUnshown(HWND on, const QMargins& guessedFrame);
    void RecentreDecorated();

  private:
    QWidget* const m_widget;
    const EWindowKind m_kind;
    const DWORD m_style;
    CWindowObject* m_object = nullptr;
    std::array<HICON, 2> m_icons = {nullptr, nullptr};
    int m_defaultCommand = 1;
    SModalState* m_modal = nullptr;
    bool m_dying = false;
    QString m_text;
    std::unique_ptr<HDC__> m_paintContext;
    std::unique_ptr<CScreenPut> m_screenPut;  // when it paints straight on the screen
    QRect m_paintRect;
    QRect m_deferredPaint;
    bool m_paintingDeferred = false;
    // Outer rectangle a top-level window was created with, kept while the
    // frame margins it was fitted to may still change.
    QRect m_outer;
    bool m_fitOuter = false;
    QMargins m_fittedMargins;
    bool m_centred = false;
    HWND m_centredOn = nullptr;
    QMargins m_centredMargins;
};

// window_host.cpp. Lives for one timer tick: the windows of ours that asked
// for a repaint during it are painted as it ends, rather than after a round
// of Qt's posted events (a wake-up more each frame); one that paints straight
// on the screen also without Qt's paint event.
class CTickPaints {
  public:
    CTickPaints();
    ~CTickPaints();
    CTickPaints(const CTickPaints&) = delete;
    CTickPaints& operator=(const CTickPaints&) = delete;
};

// host_widgets.cpp. Host of plain windows, dialogs and the tab view. A QFrame,
// so that a border keeps the client area (contentsRect) inside it.
class CHostWidget : public QFrame {
  public:
    CHostWidget(QWidget* parent, Qt::WindowFlags flags, EWindowKind kind, DWORD style);
    CWindowHost& Host() { return m_host; }

    // None while it paints straight on the screen.
    QPaintEngine* paintEngine() const override;
    // A new X window for a child whose own another client destroyed: Qt
    // would go on drawing into one that is gone.
    void RenewNativeWindow();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    CWindowHost m_host;
};

// Host of frame windows.
class CFrameHost : public QMainWindow {
  public:
    CFrameHost(QWidget* owner, DWORD style);
    CWindowHost& Host() { return m_host; }

  protected:
    bool event(QEvent* event) override;

  private:
    CWindowHost m_host;
};

// window_messages.cpp. A message queued by PostMessageW, delivered to the
// target's nearest host.
class CPostedMessageEvent : public QEvent {
  public:
    explicit CPostedMessageEvent(const MSG& msg);
    static QEvent::Type EventType();
    MSG m_msg;
};
// What a message no map handled does.
LRESULT DefaultProcessing(QWidget* widget, CWindowHost* host, UINT msg, WPARAM wParam,
                          LPARAM lParam);

// window_registry.cpp. Live windows; controls are registered with a null host.
void RegisterWindow(QWidget* widget, CWindowHost* host, int id);
// A window of ours and the object behind it, which hears of its handle now.
void RegisterHost(CWindowHost* host, CWindowObject* object, int id);
void UnregisterWindow(QWidget* widget);
bool IsRegistered(QWidget* widget);
CWindowHost* HostOf(QWidget* widget);
QWidget* LiveWidget(HWND hwnd);
// The same, with the window's host (null for a control), in one lookup.
QWidget* LiveWidget(HWND hwnd, CWindowHost** host);
CWindowHost* LiveHost(HWND hwnd);
// Nearest registered window at or above widget (nullptr when none).
QWidget* NearestWindow(QWidget* widget);
int WindowId(QWidget* widget);
// Every live registered window, for shutdown.
QList<QWidget*> LiveTopLevelWindows();

// window_lifetime.cpp. WM_DESTROY to every window of the tree (parents
// first), then each becomes windowless (children first) and the root widget
// is deleted later, unless Qt is deleting it already.
void DestroyWindowTree(QWidget* root, bool rootIsBeingDeleted = false);

// x11_watch.cpp. Watches the X events Qt gets for windows of ours that other
// clients destroy, unmap, move or resize, and for pointer crossings faster
// than Qt can take them.
void WatchX11(xcb_connection_t* connection);

// x11_hints.cpp. On X11, the window's Motif hints offer no resizing, as
// Win32's leave it out for a frame without a sizing border.
void LeaveSizingOutOfMotifHints(QWidget* window);

// window_timers.cpp. Stops every timer of the window.
void KillWindowTimers(CWindowHost* host);

// window_text.cpp. WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH.
LRESULT DefaultTextProcessing(QWidget* widget, CWindowHost* host, UINT msg, WPARAM wParam,
                              LPARAM lParam);
// window_icons.cpp. WM_SETICON: which is ICON_BIG or ICON_SMALL.
LRESULT SetIcon(CWindowHost* host, WPARAM which, LPARAM lParam);

// window_geometry.cpp. Top-left of the client area in widget coordinates.
QPoint ClientOrigin(const QWidget* widget);
// A window on the screen, centred on center's outer rectangle (or the
// screen's work area) and kept inside the work area. Returns the frame it
// took the window to have.
QMargins CenterTopLevel(QWidget* widget, QWidget* center);
// A border (1 pixel) and a client edge (2) make a sunken frame outside the
// client area; false when the styles have neither.
bool SetSunkenEdge(QFrame* frame, DWORD style, DWORD exStyle);
// A top-level window's outer rectangle moved and shrunk into its screen's
// work area; the window's size kept within all screens' (window_geometry.cpp).
QRect FitOnScreen(const QRect& outer);
void BoundToScreens(QWidget* window);

// dialog_host.cpp. A dialog's visible, enabled controls with WS_TABSTOP, in
// template order.
QList<QWidget*> DialogTabStops(QWidget* dialog);
// Tab and Shift+Tab in a dialog: the next or previous of its tab stops,
// round the end when wrap; false when there is none to go to.
bool DialogTabStep(QWidget* dialog, bool next, bool wrap);
// The base units (shared/dialog_units.h) of a font.
SBaseUnits BaseUnits(const QFont& font);

// dialog_controls.cpp. One control of a dialog's template, made and placed.
QWidget* MakeDialogControl(CWindowHost& dialog, const SDialogControl& c, const SBaseUnits& units);

// frame_host.cpp: menu bar from a menu resource, client layout.
void AttachMenu(CFrameHost* frame, HMENU menu);
// F10: the window's menu bar opens its first menu; false when it has none.
bool OpenMenuBar(QWidget* window);
void UpdateFrameLayout(CWindowHost* frame);
// tab_view_host.cpp.
CHostWidget* MakeTabViewHost(QWidget* parent, Qt::WindowFlags flags, DWORD style);
// widget is a tab view's.
bool IsTabView(QWidget* widget);
// tab_view_focus.cpp. The focus to a tab view's page (null for none): to
// kept, the control it had last, while it can take it, else the page's first
// tab stop, else the strip.
void FocusPage(QWidget* strip, QWidget* page, QWidget* kept);
// Tab (next) or Shift+Tab that left the strip or the page: from the strip
// into the page at its first tab stop (its last going back), from past the
// page's ends to the strip.
void TabAcrossStrip(QWidget* strip, QWidget* page, QWidget* kept, bool next);

// raster_screen.cpp. The screen the raster draws for, handed to it while the
// platform runs: each window's device scale, and bitmap pixels shared with
// the X server for windows that put on the screen.
raster::IScreen& RasterScreen();

inline bool HaveApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

inline QString ToQString(const wchar_t* text) {
    return text != nullptr ? QString::fromWCharArray(text) : QString();
}

}  // namespace lunvik::platform
