#include "pages/status_text.h"

#include <charconv>

namespace {

// Appends to a fixed buffer, dropping what does not fit.
class CTextSink {
  public:
    explicit CTextSink(StatusText& out) : m_out(out) { m_out[0] = L'\0'; }

    void Append(const wchar_t* text) {
        for (; text != nullptr && *text != L'\0'; ++text) {
            Put(*text);
        }
    }

    void AppendNumber(double value) {
        // 2 decimals of the largest double take about 312 characters.
        char digits[400];
        const auto result =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 2);
        for (const char* p = digits; p != result.ptr; ++p) {
            Put(static_cast<wchar_t>(*p));
        }
    }

  private:
    void Put(wchar_t c) {
        if (m_length + 1 < kStatusTextSize) {
            m_out[m_length++] = c;
            m_out[m_length] = L'\0';
        }
    }

    StatusText& m_out;
    std::size_t m_length = 0;
};

}  // namespace

void FormatStatusLine(StatusText& out, const wchar_t* prefix, double x, double y, double z,
                      const wchar_t* suffix) {
    CTextSink sink(out);
    sink.Append(prefix);
    sink.Append(L"x = ");
    sink.AppendNumber(x);
    sink.Append(L", y = ");
    sink.AppendNumber(y);
    sink.Append(L", z = ");
    sink.AppendNumber(z);
    sink.Append(suffix);
}

void FormatStatusNumber(StatusText& out, double value) {
    CTextSink sink(out);
    sink.AppendNumber(value);
}
