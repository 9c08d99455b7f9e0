// Helpers for driving a real scene page through its messages, on either back
// end: the page is made from the program's own dialog templates on a window
// of its own, and read back through its controls and its view's buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/resources.h"
#include "pages/resource_ids.h"
#include "platform/window.h"
#include "tests/platform/window_test_support.h"
#include "view/static_view.h"

namespace lunvik::test {

inline std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[256] = {};
    ::GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

// Pages are several megabytes: always on the heap in tests. A top-level page:
// the Qt back end only (on Win32 a page needs a parent, as PageTest gives it).
template <class TPage>
std::unique_ptr<TPage> MakePage() {
    SetResources(&LunvikResources());
    auto page = std::make_unique<TPage>();
    page->Create(nullptr);
    return page;
}

// A copy of a drawing area's back buffer.
inline SPicture ViewBuffer(const CStaticView& view) {
    const lunvik::raster::HBITMAP__* b = view.m_hBitmap;
    return SPicture{b->m_width, b->m_height,
                    std::vector<std::uint32_t>(b->m_bits, b->m_bits + b->m_width * b->m_height)};
}

inline void Tick(HWND page, WPARAM timerId = 0) {
    ::SendMessageW(page, WM_TIMER, timerId, 0);
}

// A page with its control handles and views in reach.
template <class TPage>
class CExposed : public TPage {
  public:
    using TPage::m_hEdits;
    using TPage::m_view;
};

template <class TPage>
class PageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetResources(&LunvikResources());
        m_holder.Create(nullptr, RECT{0, 0, 820, 620}, nullptr, WS_POPUP);
        m_page = std::make_unique<CExposed<TPage>>();
        ASSERT_NE(m_page->Create(m_holder), nullptr);
    }
    void TearDown() override { m_holder.DestroyWindow(); }
    HWND Page() const { return m_page->m_hWnd; }
    // The page on show, with its window.
    void Show() {
        ::ShowWindow(m_holder, SW_SHOW);
        ::ShowWindow(Page(), SW_SHOW);
    }
    std::wstring Line(int id) const { return WindowText(::GetDlgItem(Page(), id)); }
    void Tick(WPARAM timerId = 0) { lunvik::test::Tick(Page(), timerId); }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            Tick();
        }
    }
    // A command as a button click sends it, or with another notification code.
    void Command(int id, WORD code = BN_CLICKED) {
        ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code), 0);
    }
    // A real click on the page's push button.
    void Click(int id) {
        const HWND button = ::GetDlgItem(Page(), id);
        ASSERT_NE(button, nullptr) << "no push button " << id;
        PressButton(button);
    }
    // The status texts go to the toolkit, which may allocate; without edits,
    // what is left of a tick is ours.
    void DropStatusEdits() {
        for (HWND& edit : m_page->m_hEdits) {
            edit = nullptr;
        }
    }
    // A copy of the view's back buffer.
    SPicture Buffer() const { return ViewBuffer(m_page->m_view[0]); }

    CTestWindow m_holder;  // the top-level window a page is a child of, as on the tab view
    std::unique_ptr<CExposed<TPage>> m_page;
};

// Compares with a reference image checked into tests/pages/golden. With
// LUNVIK_UPDATE_GOLDEN=1 in the environment the Qt build writes the reference
// instead.
inline void ExpectGolden(const SPicture& actual, const char* name) {
    const std::string path = std::string(LUNVIK_GOLDEN_DIR) + "/" + name;
#ifndef _WIN32
    const char* update = std::getenv("LUNVIK_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        ASSERT_TRUE(SavePicture(path.c_str(), actual)) << path;
        return;
    }
#endif
    SPicture expected;
    ASSERT_TRUE(LoadPicture(path.c_str(), &expected)) << path;
    EXPECT_TRUE(expected == actual) << "the picture differs from " << path;
}

}  // namespace lunvik::test
