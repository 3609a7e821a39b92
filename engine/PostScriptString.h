#pragma once
// A document-information text as a PostScript string operand.
#include <string>

class PostScriptString {
public:
    // "(...)" with \ ( ) escaped for 7-bit text; otherwise "<FEFF...>", UTF-16BE,
    // which pdfwrite stores as a Unicode text string.
    static std::wstring Encode(const std::wstring& text);

private:
    static bool IsAscii(const std::wstring& text);
    static std::wstring Literal(const std::wstring& text);
    static std::wstring Hex(const std::wstring& text);
    static void AppendCodePoint(std::wstring& hex, unsigned long codePoint);
    static void AppendUnit(std::wstring& hex, unsigned long unit);
};
