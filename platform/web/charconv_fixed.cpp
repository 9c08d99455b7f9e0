#include "platform/web/charconv_fixed.h"

#include <cstdio>
#include <system_error>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 15000
// The browser's C library formats in the "C" locale only: "." always.
std::to_chars_result std::to_chars(char* first, char* last, double value, chars_format fmt,
                                   int precision) {
    const char* format = fmt == chars_format::fixed ? "%.*f" : "%.*g";
    char text[400];
    const int n = std::snprintf(text, sizeof text, format, precision, value);
    if (n < 0 || n >= static_cast<int>(sizeof text) || n > last - first) {
        return {last, std::errc::value_too_large};
    }
    for (int i = 0; i < n; ++i) {
        first[i] = text[i];
    }
    return {first + n, std::errc()};
}
#endif
