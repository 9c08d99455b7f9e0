// Status texts: "%.2f" with "." whatever the locale, and cut, never garbled,
// when too long for their 64 characters.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "pages/status_text.h"

namespace {

TEST(StatusText, FormatsLikePrintfWithTwoDecimalsAndAPoint) {
    StatusText text;
    FormatStatusLine(text, L"視点座標 : ", 0.0, 0.1, -0.5, L"");
    EXPECT_EQ(std::wstring(text), L"視点座標 : x = 0.00, y = 0.10, z = -0.50");

    // Rounding of the exact binary value, as printf does it.
    for (double v :
         {0.005, 0.015, 0.125, 0.375, -0.004, -0.0, 2.675, 1e6, 40 * 0.017453292519943295}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.2f", v);
        FormatStatusNumber(text, v);
        EXPECT_EQ(std::wstring(text),
                  std::wstring(expected, expected + std::char_traits<char>::length(expected)))
            << v;
    }
}

TEST(StatusText, IgnoresTheProcessLocale) {
    // Whatever locale the toolkit set from the environment, the point stays.
    const char* set = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    StatusText text;
    FormatStatusNumber(text, 0.5);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(std::wstring(text), L"0.50") << (set ? set : "(locale not installed)");
}

TEST(StatusText, CutsAnOverlongLineToWhatFits) {
    StatusText text;
    for (wchar_t& c : text) {
        c = L'#';
    }
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
