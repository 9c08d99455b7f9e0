// What the browser build's C++ library lacks of <charconv>: fixed-point
// doubles (std::to_chars with a precision). Included ahead of every file of
// that build; the library of a later Emscripten has its own.
#pragma once

#include <charconv>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 15000
namespace std {
to_chars_result to_chars(char* first, char* last, double value, chars_format fmt, int precision);
}  // namespace std
#endif
