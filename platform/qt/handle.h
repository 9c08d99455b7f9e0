// A window handle is the address of the window's widget. Only platform/ ever
// turns one back into a widget.
#pragma once

#include <QWidget>

#include "platform/win_types.h"

inline QWidget* WidgetFromHandle(HWND hwnd) {
    return reinterpret_cast<QWidget*>(hwnd);
}
inline HWND HandleFromWidget(QWidget* widget) {
    return reinterpret_cast<HWND>(widget);
}
