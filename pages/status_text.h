// Status lines of the scene pages: "%.2f" numbers with "." as the decimal
// point whatever the user's locale, formatted into fixed buffers of 64 wide
// characters without allocating.
#pragma once

#include <cstddef>

inline constexpr std::size_t kStatusTextSize = 64;  // 63 characters and the terminator

using StatusText = wchar_t[kStatusTextSize];

// Writes prefix, then the three numbers as "x = %.2f, y = %.2f, z = %.2f", then
// suffix. A text that would not fit is cut to the first 63 characters.
void FormatStatusLine(StatusText& out, const wchar_t* prefix, double x, double y, double z,
                      const wchar_t* suffix);

// Writes one number as "%.2f".
void FormatStatusNumber(StatusText& out, double value);
