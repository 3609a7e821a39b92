#include "PostScriptString.h"

std::wstring PostScriptString::Encode(const std::wstring& text) {
    return IsAscii(text) ? Literal(text) : Hex(text);
}

bool PostScriptString::IsAscii(const std::wstring& text) {
    for (wchar_t c : text) {
        if (static_cast<unsigned long>(c) > 0x7F) return false;
    }
    return true;
}

// Line breaks stay raw: a literal string may span lines.
std::wstring PostScriptString::Literal(const std::wstring& text) {
    std::wstring out = L"(";
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'(' || c == L')') out += L'\\';
        out += c;
    }
    return out + L")";
}

std::wstring PostScriptString::Hex(const std::wstring& text) {
    std::wstring out = L"<FEFF";
    for (wchar_t c : text) AppendCodePoint(out, static_cast<unsigned long>(c));
    return out + L">";
}

// Where wchar_t is UTF-16 every value fits one unit and surrogates pass through;
// where it is UTF-32 the supplementary planes need a pair.
void PostScriptString::AppendCodePoint(std::wstring& hex, unsigned long codePoint) {
    if (codePoint > 0x10FFFF) {
        AppendUnit(hex, 0xFFFD);
    } else if (codePoint > 0xFFFF) {
        const unsigned long offset = codePoint - 0x10000;
        AppendUnit(hex, 0xD800 + (offset >> 10));
        AppendUnit(hex, 0xDC00 + (offset & 0x3FF));
    } else {
        AppendUnit(hex, codePoint);
    }
}

void PostScriptString::AppendUnit(std::wstring& hex, unsigned long unit) {
    static const wchar_t digits[] = L"0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) hex += digits[(unit >> shift) & 0xF];
}
