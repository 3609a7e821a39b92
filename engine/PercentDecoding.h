#pragma once
// Percent-decoding of an address part ("Q3%20r%C3%A9sum%C3%A9" gives "Q3 résumé"),
// the escaped bytes read as UTF-8.
#include <string>

class PercentDecoding {
public:
    // Letters beyond ASCII left as they stand are kept; a malformed escape stays
    // as written, and bytes that are no UTF-8 become U+FFFD.
    static std::wstring Utf8(const std::wstring& text);

private:
    static void AppendUtf8(std::string& bytes, char32_t c);
    static void AppendWide(std::wstring& text, char32_t c);
    static std::wstring DecodeUtf8(const std::string& bytes);
};
