// Window and control texts: WM_SETTEXT / WM_GETTEXT on whatever widget shows
// the text, and the calls that send them.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <string>

#include "platform/qt/window_host.h"
#include "platform/resources.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

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
        host->SetText(text);
    }
}

// Whether shown (UTF-16) already reads text (UTF-32), compared in place:
// a tick sets its status texts again and again and must not allocate for it.
bool SameText(const QString& shown, const wchar_t* text) {
    qsizetype at = 0;
    for (; text != nullptr && *text != L'\0'; ++text) {
        const auto code = static_cast<char32_t>(*text);
        if (QChar::requiresSurrogates(code)) {
            if (at + 1 >= shown.size() || shown[at] != QChar(QChar::highSurrogate(code)) ||
                shown[at + 1] != QChar(QChar::lowSurrogate(code))) {
                return false;
            }
            at += 2;
        } else {
            if (at >= shown.size() || shown[at] != QChar(static_cast<char16_t>(code))) {
                return false;
            }
            ++at;
        }
    }
    return at == shown.size();
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
    return host != nullptr ? host->Text() : QString();
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

}  // namespace

LRESULT DefaultTextProcessing(QWidget* widget, CWindowHost* host, UINT msg, WPARAM wParam,
                              LPARAM lParam) {
    switch (msg) {
        case WM_SETTEXT: {
            // The text it already holds changes nothing: no layout, no repaint.
            const auto* text = reinterpret_cast<const wchar_t*>(lParam);
            if (!SameText(WidgetText(widget, host), text)) {
                SetWidgetText(widget, host, ToQString(text));
            }
            return TRUE;
        }
        case WM_GETTEXT:
            return CopyText(WidgetText(widget, host), reinterpret_cast<wchar_t*>(lParam),
                            static_cast<int>(wParam));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(WidgetText(widget, host).toStdWString().size());
        default:
            return 0;
    }
}

}  // namespace lunvik::platform
