// What a user sees, with the fonts the program ships: status lines and the
// About notice fit their controls, and Japanese is drawn by a shipped font
// that has every character; the drawing area is sharp at the screen's scale.
// The suite runs this again with no Japanese font installed and at scale
// factors 1.5 and 2 (tests/app/CMakeLists.txt).
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QRawFont>
#include <cmath>

#include "app/about_dlg.h"
#include "pages/main_dlg.h"
#include "pages/main_dlg2.h"
#include "platform/qt/handle.h"
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

TEST(Display, StatusLinesAndCaptionsFitAndJapaneseIsDrawnByTheShippedFonts) {
    auto one = MakePage<CMainDlg>();
    auto two = MakePage<CMainDlg2>();
    int japanese = 0;
    for (double v : {-9.99, 9.99}) {
        one->m_eyeBase = one->m_lookAt = two->m_eye = two->m_lookAt = {v, v, v};
        one->m_rotRate = {v / 40, v / 40, v / 40};
        for (HWND page : {one->m_hWnd, two->m_hWnd}) {
            ::ShowWindow(page, SW_SHOWNA);  // a page writes its status lines when on show
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
}

// Four lines, none wrapped, within the label's width and height.
TEST(Display, TheAboutNoticeFitsItsLabel) {
    SetResources(&LunvikResources());
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

// The back buffer has the device's resolution and is shown pixel for pixel:
// only the four colours, lines one device pixel wide.
using DisplayOfPageOne = PageTest<CMainDlg>;

TEST_F(DisplayOfPageOne, DrawingAreaShowsItsBufferPixelForPixelAtTheScreensScale) {
    Show();
    Click(IDC_EYE_LEFT);  // lines at every slope
    Click(IDC_RATE_Y_UP);
    Ticks(3);
    QWidget* view = WidgetFromHandle(m_page->m_view[0].m_hWnd);
    const qreal scale = view->devicePixelRatioF();
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const SPicture picture = Buffer();
    const QImage buffer(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width,
                        picture.height, picture.width * 4, QImage::Format_RGB32);
    ASSERT_EQ(buffer.width(), static_cast<int>(std::ceil((view->width() + 1) * scale)));
    ASSERT_EQ(shown.width(), static_cast<int>(std::ceil(view->width() * scale)));
    EXPECT_TRUE(shown == buffer.copy(0, 0, shown.width(), shown.height()));
    int coloured = 0;
    int squares = 0;  // 2 x 2 of one colour: a line two pixels wide
    for (int y = 0; y + 1 < shown.height(); ++y) {
        for (int x = 0; x + 1 < shown.width(); ++x) {
            const QRgb p = shown.pixel(x, y);
            ASSERT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(0, 255, 0) || p == qRgb(255, 0, 0) ||
                        p == qRgb(0, 255, 255));
            coloured += p != qRgb(0, 0, 0) ? 1 : 0;
            squares += p != qRgb(0, 0, 0) && shown.pixel(x + 1, y) == p &&
                       shown.pixel(x, y + 1) == p && shown.pixel(x + 1, y + 1) == p;
        }
    }
    // Crossings and the stars' near faces make a few; a picture scaled up
    // from a smaller buffer has them along every line (a third of it and more).
    EXPECT_GT(coloured, 2000 * scale);
    EXPECT_LT(squares * 10, coloured) << squares << " of " << coloured;
}

}  // namespace
