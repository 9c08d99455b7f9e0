// Status texts: "%.2f" with "." whatever the locale, and cut, never garbled,
// when too long for their 64 characters.
#include <gtest/gtest.h>

#include <clocale>  // also POSIX newlocale and uselocale
#include <cstdio>
#include <cwchar>
#include <string>

#include "pages/status_text.h"

namespace {

// printf's "%.2f" in the given locale: by default the "C" one, whatever
// locale the suite runs under (glibc's "C" object is shared, nothing to free).
std::wstring Printf(double v, locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr)) {
    const locale_t previous = uselocale(locale);
    char s[64];
    std::snprintf(s, sizeof s, "%.2f", v);
    uselocale(previous);
    return std::wstring(s, s + std::char_traits<char>::length(s));
}

TEST(StatusText, FormatsLikePrintfWithTwoDecimalsAndAPoint) {
    StatusText text;
    FormatStatusLine(text, L"視点座標 : ", 0.0, 0.1, -0.5, L"");
    EXPECT_EQ(std::wstring(text), L"視点座標 : x = 0.00, y = 0.10, z = -0.50");
    // Rounding of the exact binary value, as printf does it.
    for (double v : {0.005, 0.015, 0.125, 0.375, -0.004, -0.0, 2.675, 1e6, 0.6981317007977318}) {
        FormatStatusNumber(text, v);
        EXPECT_EQ(std::wstring(text), Printf(v)) << v;
    }
}

TEST(StatusText, KeepsThePointInALocaleWithADecimalComma) {
    // The toolkit sets the locale from the environment; a German user's has a comma.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/install-deps makes it)";
    }
    StatusText text;
    FormatStatusNumber(text, 0.5);
    EXPECT_EQ(Printf(0.5, LC_GLOBAL_LOCALE), L"0,50") << "the locale does not have a decimal comma";
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(std::wstring(text), L"0.50");
}

TEST(StatusText, CutsAnOverlongLineToWhatFits) {
    StatusText text;
    std::wmemset(text, L'#', kStatusTextSize);
    FormatStatusLine(text, L"モデル回転率 : ", 1e30, -1e30, 1e300, L" [rad/s]");
    const std::wstring s(text);
    EXPECT_EQ(s.size(), kStatusTextSize - 1);
    EXPECT_EQ(s.rfind(L"モデル回転率 : x = 1000000", 0), 0u);
    EXPECT_EQ(s.find(L'#'), std::wstring::npos);
    FormatStatusNumber(text, 1e300);
    EXPECT_EQ(std::wstring(text).size(), kStatusTextSize - 1);
    EXPECT_EQ(std::wstring(text).substr(0, 3), L"100");
}

}  // namespace
