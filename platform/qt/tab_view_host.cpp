// The tab view: a movable tab strip with the active page shown below it.
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QTabBar>
#include <string>
#include <vector>

#include "platform/qt/window_host.h"
#include "platform/tab_view.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

class CTabViewHost : public CHostWidget {
  public:
    CTabViewHost(QWidget* parent, Qt::WindowFlags flags, DWORD style)
        : CHostWidget(parent, flags, EWindowKind::TabView, style), m_bar(new QTabBar(this)) {
        m_bar->setMovable(true);
        m_bar->setExpanding(false);
        m_bar->installEventFilter(this);
        // A window of its own, as Win32's tab control is: the focus can be on it.
        RegisterWindow(m_bar, nullptr, 0);
        connect(m_bar, &QTabBar::currentChanged, this, [this] { Layout(); });
        connect(m_bar, &QTabBar::tabMoved, this, [this](int from, int to) {
            SPage page = m_pages[static_cast<std::size_t>(from)];
            m_pages.erase(m_pages.begin() + from);
            m_pages.insert(m_pages.begin() + to, page);
        });
    }

    BOOL AddPage(HWND page, const wchar_t* title, int image, void* data) {
        QWidget* widget = LiveWidget(page);
        if (widget == nullptr || widget == this || widget->isAncestorOf(this) || Find(page) >= 0) {
            return FALSE;
        }
        if (widget->parentWidget() != this) {
            widget->setParent(this, Qt::Widget);
        }
        m_pages.push_back(SPage{page, title != nullptr ? title : L"", image, data, nullptr});
        // The first page becomes current as it is added; currentChanged lays out.
        m_bar->addTab(ToQString(title));
        Layout();
        return TRUE;
    }

    int Count() const { return m_bar->count(); }
    int Active() const { return m_bar->currentIndex(); }
    // A focus anywhere in the view goes along to the new page: to the
    // control it had last, or its first tab stop.
    void SetActive(int index) {
        if (index < 0 || index >= Count()) {
            return;
        }
        QWidget* focus = window()->focusWidget();
        const int before = PageHolding(focus);
        if (before >= 0) {
            m_pages[static_cast<std::size_t>(before)].lastFocus = focus;
        }
        m_bar->setCurrentIndex(index);
        Layout();
        if (focus != nullptr && isAncestorOf(focus)) {
            FocusActivePage();
        }
    }
    const wchar_t* Title(int index) const {
        return index >= 0 && index < Count()
                   ? m_pages[static_cast<std::size_t>(index)].title.c_str()
                   : nullptr;
    }
    HWND Page(int index) const {
        return index >= 0 && index < Count() ? m_pages[static_cast<std::size_t>(index)].page
                                             : nullptr;
    }

    BOOL PreTranslate(const MSG* msg) {
        if (msg->message != WM_KEYDOWN) {
            return FALSE;
        }
        if (msg->wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
            const int n = Count();
            if (n > 1) {
                const int step = GetKeyState(VK_SHIFT) < 0 ? n - 1 : 1;
                SetActive((Active() + step) % n);
            }
            return TRUE;
        }
        if (msg->wParam == VK_ESCAPE && m_dragging) {
            CancelDrag();
            return TRUE;
        }
        return FALSE;
    }

  protected:
    // Tab from the strip enters the active page at its first tab stop (its
    // last going back); the page hands it back here past its ends.
    bool focusNextPrevChild(bool next) override {
        const int active = Active();
        TabAcrossStrip(m_bar, LiveWidget(Page(active)), KeptFocus(active), next);
        return true;
    }

    void resizeEvent(QResizeEvent* event) override {
        CHostWidget::resizeEvent(event);
        Layout();
    }

    // Follows the mouse on the strip, to know when a tab is being dragged.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_bar) {
            return false;
        }
        switch (event->type()) {
            case QEvent::Wheel:
                return true;  // a tab strip is no scroll area: the page stays
            case QEvent::MouseButtonPress: {
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->button() == Qt::LeftButton) {
                    m_pressed = true;
                    m_pressPos = mouse->position().toPoint();
                    m_orderAtPress = m_pages;
                    m_activeAtPress = Active();
                }
                break;
            }
            case QEvent::MouseMove: {
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (m_pressed && (mouse->buttons() & Qt::LeftButton)) {
                    m_lastPos = mouse->position().toPoint();
                    if ((m_lastPos - m_pressPos).manhattanLength() >=
                        QApplication::startDragDistance()) {
                        m_dragging = true;
                    }
                }
                break;
            }
            case QEvent::MouseButtonRelease:
                m_pressed = false;
                m_dragging = false;
                break;
            default:
                break;
        }
        return false;
    }

  private:
    struct SPage {
        HWND page;
        std::wstring title;
        int image;
        void* data;
        QPointer<QWidget> lastFocus;  // when another page was made active
    };

    // The page at or above widget, or -1.
    int PageHolding(QWidget* widget) const {
        for (std::size_t i = 0; i < m_pages.size(); ++i) {
            QWidget* page = LiveWidget(m_pages[i].page);
            if (widget != nullptr && page != nullptr &&
                (page == widget || page->isAncestorOf(widget))) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    QWidget* KeptFocus(int index) const {
        return index >= 0 && index < Count() ? m_pages[static_cast<std::size_t>(index)].lastFocus
                                             : nullptr;
    }
    void FocusActivePage() { FocusPage(m_bar, LiveWidget(Page(Active())), KeptFocus(Active())); }

    int Find(HWND page) const {
        for (std::size_t i = 0; i < m_pages.size(); ++i) {
            if (m_pages[i].page == page) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // The strip on top, the active page in the rest; the other pages hidden,
    // the active one shown first so that a focus leaving a hidden page finds
    // it. A page that is not on show never keeps the focus, and the window's
    // first focus is on the page on show.
    void Layout() {
        const QRect area = contentsRect();
        const int stripHeight = m_bar->sizeHint().height();
        m_bar->setGeometry(area.x(), area.y(), area.width(), stripHeight);
        const QRect pageArea(area.x(), area.y() + stripHeight, area.width(),
                             std::max(0, area.height() - stripHeight));
        const int active = Active();
        for (int pass = 0; pass < 2; ++pass) {
            for (std::size_t i = 0; i < m_pages.size(); ++i) {
                QWidget* page = LiveWidget(m_pages[i].page);
                if (page == nullptr || page->parentWidget() != this ||
                    (static_cast<int>(i) == active) != (pass == 0)) {
                    continue;
                }
                page->setGeometry(pageArea);
                page->setVisible(pass == 0);
            }
        }
        QWidget* focus = window()->focusWidget();
        const int holder = PageHolding(focus);
        if (active >= 0 && (focus == nullptr || (holder >= 0 && holder != active))) {
            FocusActivePage();
        }
    }

    // Ends the drag where it is and puts every tab back where it was.
    void CancelDrag() {
        m_dragging = false;
        m_pressed = false;
        QMouseEvent release(QEvent::MouseButtonRelease, m_lastPos, m_bar->mapToGlobal(m_lastPos),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_bar, &release);
        for (std::size_t i = 0; i < m_orderAtPress.size(); ++i) {
            const int now = Find(m_orderAtPress[i].page);
            if (now >= 0 && now != static_cast<int>(i)) {
                m_bar->moveTab(now, static_cast<int>(i));
            }
        }
        SetActive(m_activeAtPress);
    }

    QTabBar* m_bar;
    std::vector<SPage> m_pages;  // in tab order
    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_pressPos;
    QPoint m_lastPos;
    std::vector<SPage> m_orderAtPress;
    int m_activeAtPress = -1;
};

CTabViewHost* TabHost(HWND hwnd) {
    CWindowHost* host = LiveHost(hwnd);
    return host != nullptr && host->Kind() == EWindowKind::TabView
               ? static_cast<CTabViewHost*>(host->Widget())
               : nullptr;
}

}  // namespace

CHostWidget* MakeTabViewHost(QWidget* parent, Qt::WindowFlags flags, DWORD style) {
    return new CTabViewHost(parent, flags, style);
}

bool IsTabView(QWidget* widget) {
    const CWindowHost* host = HostOf(widget);
    return host != nullptr && host->Kind() == EWindowKind::TabView;
}

BOOL TabViewAddPage(HWND tabView, HWND page, const wchar_t* title, int image, void* data) {
    CTabViewHost* host = TabHost(tabView);
    return host != nullptr ? host->AddPage(page, title, image, data) : FALSE;
}

int TabViewPageCount(HWND tabView) {
    CTabViewHost* host = TabHost(tabView);
    return host != nullptr ? host->Count() : 0;
}

int TabViewActivePage(HWND tabView) {
    CTabViewHost* host = TabHost(tabView);
    return host != nullptr ? host->Active() : -1;
}

void TabViewSetActivePage(HWND tabView, int index) {
    if (CTabViewHost* host = TabHost(tabView)) {
        host->SetActive(index);
    }
}

const wchar_t* TabViewPageTitle(HWND tabView, int index) {
    CTabViewHost* host = TabHost(tabView);
    return host != nullptr ? host->Title(index) : nullptr;
}

HWND TabViewPage(HWND tabView, int index) {
    CTabViewHost* host = TabHost(tabView);
    return host != nullptr ? host->Page(index) : nullptr;
}

BOOL TabViewPreTranslate(HWND tabView, MSG* msg) {
    CTabViewHost* host = TabHost(tabView);
    return host != nullptr && msg != nullptr ? host->PreTranslate(msg) : FALSE;
}

}  // namespace lunvik::platform
