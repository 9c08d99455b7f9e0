// What a user sees, with the fonts the program ships: status lines and the
// About notice fit their controls, and Japanese is drawn by a shipped font
// that has every character. The suite runs this again with no Japanese font
// installed (tests/app/CMakeLists.txt).
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QRawFont>

#include "app/about_dlg.h"
#include "pages/main_dlg.h"
#include "pages/main_dlg2.h"
#include "tests/pages/page_test_support.h"

using namespace lunvik::test;

namespace {

// The first of the widget's font families that has the character draws it.
bool DrawnByShippedFont(const QWidget& widget, char32_t c) {
    for (const QString& family : widget.font().families()) {
        if (QRawFont::fromFont(QFont(family)).supportsCharacter(c)) {
            return QFontDatabase::applicationFontFamilies(0).contains(family) ||
                   QFontDatabase::applicationFontFamilies(1).contains(family);
        }
    }
    return false;
}

TEST(Display, StatusLinesAndCaptionsFitAndAreDrawnByTheShippedFonts) {
    auto one = MakePage<CMainDlg>();
    auto two = MakePage<CMainDlg2>();
    int japanese = 0;
    for (double v : {-9.99, 9.99}) {
        one->m_eyeBase = one->m_lookAt = two->m_eye = two->m_lookAt = {v, v, v};
        one->m_rotRate = {v / 40, v / 40, v / 40};
        for (HWND page : {one->m_hWnd, two->m_hWnd}) {
            Tick(page);
            for (int id : {IDC_EDIT_EYE_LINE, IDC_EDIT_LOOKAT_LINE, IDC_EDIT_RATE_LINE,
                           IDC_GROUP_EYE, IDC_GROUP_SECOND, IDC_EYE_STOP, IDC_RATE_X_STOP,
                           IDC_RATE_Y_STOP, IDC_RATE_Z_STOP}) {
                const QWidget* control = WidgetFromHandle(::GetDlgItem(page, id));
                if (control == nullptr || !control->isVisibleTo(control->window())) {
                    continue;
                }
                const QString text = QString::fromStdWString(WindowText(::GetDlgItem(page, id)));
                if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
                    // Frameless: the text and the cursor inside two-pixel margins.
                    ASSERT_FALSE(edit->hasFrame());
                    EXPECT_LE(QFontMetrics(edit->font()).horizontalAdvance(text) + 1,
                              edit->width() - 4)
                        << text.toStdString();
                }
                for (char32_t c : text.toUcs4()) {
                    japanese += c > 0x7F ? 1 : 0;
                    EXPECT_TRUE(c < 0x80 || DrawnByShippedFont(*control, c))
                        << id << " U+" << static_cast<unsigned>(c);
                }
            }
        }
    }
    EXPECT_GT(japanese, 80);

    CAboutDlg about;
    ASSERT_NE(about.Create(nullptr), nullptr);
    auto* notice = qobject_cast<QLabel*>(WidgetFromHandle(about.GetDlgItem(IDC_ABOUT_TEXT)));
    ASSERT_NE(notice, nullptr);
    const QFontMetrics metrics(notice->font());
    ASSERT_EQ(notice->text().count('\n'), 3);
    for (const QString& line : notice->text().split('\n')) {
        EXPECT_LE(metrics.horizontalAdvance(line), notice->width()) << line.toStdString();
    }
    // Nothing wraps, and the four lines fit the label's height.
    EXPECT_EQ(notice->heightForWidth(notice->width()), 4 * metrics.lineSpacing());
    EXPECT_LE(4 * metrics.lineSpacing(), notice->height());
    about.DestroyWindow();
}

}  // namespace
