// Helpers for driving a real scene page through its messages under the
// offscreen platform: the page is made top-level from the program's own
// dialog templates, and read back through its controls and its view's buffer.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QString>
#include <memory>
#include <string>

#include "app/resources.h"
#include "pages/resource_ids.h"
#include "platform/qt/handle.h"
#include "platform/window.h"
#include "view/static_view.h"

namespace lunvik::test {

inline std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[256] = {};
    ::GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

// Pages are several megabytes: always on the heap in tests.
template <class TPage>
std::unique_ptr<TPage> MakePage() {
    SetResources(&LunvikResources());
    auto page = std::make_unique<TPage>();
    page->Create(nullptr);
    return page;
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
        m_page = MakePage<CExposed<TPage>>();
        ASSERT_NE(Page(), nullptr);
    }
    HWND Page() const { return m_page->m_hWnd; }
    std::wstring Line(int id) const { return WindowText(::GetDlgItem(Page(), id)); }
    void Tick(WPARAM timerId = 0) { lunvik::test::Tick(Page(), timerId); }
    // A command as a button click sends it, or with another notification code.
    void Command(int id, WORD code = BN_CLICKED) {
        ::SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code), 0);
    }
    // A real click on the page's push button.
    void Click(int id) {
        auto* button = qobject_cast<QAbstractButton*>(WidgetFromHandle(::GetDlgItem(Page(), id)));
        ASSERT_NE(button, nullptr) << "no push button " << id;
        button->click();
    }
    // The status texts go to the toolkit, which may allocate; without edits,
    // what is left of a tick is ours.
    void DropStatusEdits() {
        for (HWND& edit : m_page->m_hEdits) {
            edit = nullptr;
        }
    }
    // A copy of the view's back buffer.
    QImage Buffer() const {
        const HBITMAP__* b = m_page->m_view[0].m_hBitmap;
        return QImage(reinterpret_cast<const uchar*>(b->m_bits), b->m_width, b->m_height,
                      b->m_width * 4, QImage::Format_RGB32)
            .copy();
    }

    std::unique_ptr<CExposed<TPage>> m_page;
};

// Compares with a reference image checked into tests/pages/golden. With
// LUNVIK_UPDATE_GOLDEN=1 in the environment it writes the reference instead.
inline void ExpectGolden(const QImage& actual, const char* name) {
    const QString path = QString(LUNVIK_GOLDEN_DIR) + "/" + name;
    if (qEnvironmentVariableIntValue("LUNVIK_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(actual.save(path)) << path.toStdString();
        return;
    }
    const QImage expected = QImage(path).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(expected == actual) << "the picture differs from " << path.toStdString();
}

}  // namespace lunvik::test
