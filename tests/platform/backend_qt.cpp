// The window-layer tests' needs, on Qt.
#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QRawFont>
#include <QTest>
#include <QWidget>

#include "platform/qt/handle.h"
#include "platform/window.h"
#include "tests/platform/backend_support.h"

namespace lunvik::test {

bool PumpUntil(const std::function<bool()>& done, int ms) {
    return QTest::qWaitFor(done, ms);
}

void DeliverPosted() {
    QCoreApplication::sendPostedEvents();
}

RECT ChildRect(HWND hwnd) {
    const QWidget* widget = WidgetFromHandle(hwnd);
    const QPoint origin = widget->parentWidget()->contentsRect().topLeft();
    const QRect r = widget->geometry().translated(-origin);
    return RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

void ClickCentre(HWND control) {
    QWidget* widget = WidgetFromHandle(control);
    QWidget* parent = widget->parentWidget();
    QTest::mouseClick(parent->childAt(widget->geometry().center()), Qt::LeftButton);
}

void Focus(HWND control) {
    QWidget* widget = WidgetFromHandle(control);
    widget->window()->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    static_cast<void>(PumpUntil([&] { return QApplication::focusWidget() == widget; }, 1000));
}

HWND Focused() {
    return HandleFromWidget(QApplication::focusWidget());
}

void Activate(HWND window) {
    QWidget* widget = WidgetFromHandle(window);
    widget->activateWindow();
    static_cast<void>(PumpUntil([&] { return QApplication::activeWindow() == widget; }, 1000));
}

void PressKey(WORD vk, bool shift) {
    const Qt::Key key = vk == VK_TAB     ? (shift ? Qt::Key_Backtab : Qt::Key_Tab)
                        : vk == VK_RIGHT ? Qt::Key_Right
                                         : Qt::Key_Return;
    QTest::keyClick(QApplication::focusWidget(), key, shift ? Qt::ShiftModifier : Qt::NoModifier);
    DeliverPosted();
}

// Qt draws a character from the first of the font's families that has it.
bool DrawsGlyphs(HWND control, const wchar_t* text) {
    const QFont font = WidgetFromHandle(control)->font();
    for (const QChar c : QString::fromWCharArray(text)) {
        bool found = false;
        for (const QString& family : font.families()) {
            found = found || QRawFont::fromFont(QFont(family)).supportsCharacter(c);
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

void PressButton(HWND button) {
    qobject_cast<QAbstractButton*>(WidgetFromHandle(button))->click();
}

namespace {
SPicture FromImage(const QImage& any) {
    const QImage image = any.convertToFormat(QImage::Format_RGB32);
    SPicture picture{image.width(), image.height(), {}};
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        picture.pixels.insert(picture.pixels.end(), row, row + image.width());
    }
    return picture;
}
}  // namespace

SPicture WindowPicture(HWND hwnd) {
    return FromImage(WidgetFromHandle(hwnd)->grab().toImage());
}

bool LoadPicture(const char* path, SPicture* picture) {
    const QImage image(QString::fromLocal8Bit(path));
    if (image.isNull()) {
        return false;
    }
    *picture = FromImage(image);
    return true;
}

bool SavePicture(const char* path, const SPicture& picture) {
    const QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width,
                       picture.height, picture.width * 4, QImage::Format_RGB32);
    return image.save(QString::fromLocal8Bit(path));
}

int DestroyAndCountLeft() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        DestroyWindow(HandleFromWidget(widget));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int left = static_cast<int>(QApplication::allWidgets().size());
    qDeleteAll(QApplication::topLevelWidgets());  // so that one failure does not cascade
    return left;
}

}  // namespace lunvik::test
