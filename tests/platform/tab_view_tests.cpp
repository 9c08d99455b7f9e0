// A tab view's keyboard: Tab across the strip and the active page's tab
// stops, and where the focus goes as pages change and the window is
// activated again. Run on both back ends.
#include "platform/frame_window.h"
#include "platform/tab_view.h"
#include "tests/platform/window_test_support.h"

namespace lunvik::test {
namespace {

using PlatformTabView = WindowTest;

// A frame whose client is a tab view of two test pages, made as the program
// makes its own: both pages created, then added, the first made active. A
// pop-up, so that its end does not post the quit message.
class CTabbedFrame : public CFrameWindowImpl<CTabbedFrame> {
  public:
    CTabView m_view;
    CPageDialog m_pages[2];

    BOOL ProcessWindowMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT& result, DWORD = 0) override {
        if (msg != WM_CREATE) {
            return FALSE;
        }
        m_hWndClient = m_view.Create(m_hWnd, RECT{});
        for (CPageDialog& page : m_pages) {
            page.Create(m_view);
        }
        m_view.AddPage(m_pages[0], L"one");
        m_view.AddPage(m_pages[1], L"two");
        m_view.SetActivePage(0);
        result = 0;
        return TRUE;
    }
};

struct STabbed {
    STabbed() {
        frame.Create(nullptr, RECT{0, 0, 500, 400}, L"tabs", WS_POPUP | WS_CAPTION | WS_SYSMENU);
        ShowWindow(frame, SW_SHOW);
        Activate(frame);
    }
    HWND Item(int page, int id) const { return GetDlgItem(frame.m_pages[page], id); }
    bool OnStrip() const {
        const HWND focus = Focused();
        return focus != nullptr && GetParent(focus) == frame.m_view.m_hWnd &&
               focus != frame.m_pages[0].m_hWnd && focus != frame.m_pages[1].m_hWnd;
    }
    CTabbedFrame frame;
};

// The first tab stops are kGo, the last kAlso; the page's own order is the
// template's (dialog_tests.cpp).
TEST_F(PlatformTabView, TabGoesFromTheStripIntoThePageAndPastItsEndsBackToTheStrip) {
    STabbed t;
    EXPECT_EQ(Focused(), t.Item(0, kGo)) << "at start, the page on show's first tab stop";
    PressKey(VK_TAB, true);
    EXPECT_TRUE(t.OnStrip());
    PressKey(VK_TAB, true);
    EXPECT_EQ(Focused(), t.Item(0, kAlso));
    PressKey(VK_TAB);
    EXPECT_TRUE(t.OnStrip());
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), t.Item(0, kGo));
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), t.Item(0, kTyped));
    PressKey(VK_TAB, true);
    PressKey(VK_TAB, true);
    ASSERT_TRUE(t.OnStrip());
    // The strip's arrow keys switch pages and keep the focus on the strip.
    PressKey(VK_RIGHT);
    EXPECT_EQ(t.frame.m_view.GetActivePage(), 1);
    EXPECT_TRUE(t.OnStrip());
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(), t.Item(1, kGo));
}

TEST_F(PlatformTabView, EachPageKeepsItsFocusedControlAndTheWindowGetsItBackWhenActivated) {
    STabbed t;
    CTabView& view = t.frame.m_view;
    Focus(t.Item(0, kTyped));
    view.SetActivePage(1);
    EXPECT_EQ(Focused(), t.Item(1, kGo)) << "a page not visited yet: its first tab stop";
    Focus(t.Item(1, kAlso));
    view.SetActivePage(0);
    EXPECT_EQ(Focused(), t.Item(0, kTyped));
    view.SetActivePage(1);
    EXPECT_EQ(Focused(), t.Item(1, kAlso));

    SShownDialog other;
    Focus(GetDlgItem(other.hwnd, kGo));
    ASSERT_EQ(Focused(), GetDlgItem(other.hwnd, kGo));
    Activate(t.frame);
    EXPECT_EQ(Focused(), t.Item(1, kAlso));
}

}  // namespace
}  // namespace lunvik::test
