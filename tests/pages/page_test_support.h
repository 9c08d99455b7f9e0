// Helpers for driving a real scene page through its messages under the
// offscreen platform: the page is made top-level from the program's own
// dialog templates, and read back through its controls and its view's buffer.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QRegularExpression>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "app/resources.h"
#include "platform/qt/handle.h"
#include "platform/window.h"
#include "view/static_view.h"

namespace lunvik::test {

// Pages are several megabytes: always on the heap in tests.
template <class TPage>
std::unique_ptr<TPage> MakePage() {
    SetResources(&LunvikResources());
    auto page = std::make_unique<TPage>();
    page->Create(nullptr);
    return page;
}

inline std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[256] = {};
    ::GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

// The numbers of a status line "... x = 1.00, y = 2.00, z = 3.00 ...", read with
// "." as the decimal point whatever the locale.
inline std::vector<double> ShownNumbers(const std::wstring& line) {
    std::vector<double> numbers;
    const QString text = QString::fromStdWString(line);
    for (const QString& key :
         {QStringLiteral("x = "), QStringLiteral("y = "), QStringLiteral("z = ")}) {
        const int at = text.indexOf(key);
        if (at < 0) {
            continue;
        }
        QString number = text.mid(at + key.size());
        number = number.left(number.indexOf(QRegularExpression("[^-0-9.]")));
        numbers.push_back(number.toDouble());
    }
    return numbers;
}

inline void Tick(HWND page, WPARAM timerId = 0) {
    ::SendMessageW(page, WM_TIMER, timerId, 0);
}

// A command as a button click sends it, or with another notification code.
inline void Command(HWND page, int id, WORD code = BN_CLICKED) {
    ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code), 0);
}

// A real click on the page's push button.
inline void Click(HWND page, int id) {
    auto* button = qobject_cast<QAbstractButton*>(WidgetFromHandle(::GetDlgItem(page, id)));
    ASSERT_NE(button, nullptr) << "no push button " << id;
    button->click();
}

// A copy of the view's back buffer.
inline QImage BufferImage(const CStaticView& view) {
    const HBITMAP__* bitmap = view.m_hBitmap;
    if (bitmap == nullptr) {
        return {};
    }
    return QImage(reinterpret_cast<const uchar*>(bitmap->m_bits), bitmap->m_width, bitmap->m_height,
                  bitmap->m_width * 4, QImage::Format_RGB32)
        .copy();
}

inline int CountPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += (image.pixel(x, y) == colour) ? 1 : 0;
        }
    }
    return n;
}

// Compares with a reference image checked into tests/pages/golden. With
// LUNVIK_UPDATE_GOLDEN=1 in the environment it writes the reference instead.
inline void ExpectGolden(const QImage& actual, const char* name) {
    const QString path = QString(LUNVIK_GOLDEN_DIR) + "/" + name;
    if (qEnvironmentVariableIntValue("LUNVIK_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(actual.save(path)) << path.toStdString();
        return;
    }
    QImage expected(path);
    ASSERT_FALSE(expected.isNull()) << "missing reference " << path.toStdString();
    expected = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), actual.size());
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            differing += (expected.pixel(x, y) != actual.pixel(x, y)) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0) << "pixels differing from " << path.toStdString();
}

}  // namespace lunvik::test
