#include "OptionVocabulary.h"

namespace {

const wchar_t kBlanks[] = L" \t\r\n\u00A0\u3000";

wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring Trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameButCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace

int OptionVocabulary::EntryIndex(const List& list, const std::wstring& text) {
    const std::wstring typed = Trimmed(text);
    for (std::size_t i = 0; i < list.count; ++i)
        if (SameButCase(typed, list.entries[i])) return static_cast<int>(i);
    return -1;
}

std::wstring OptionVocabulary::Refusal(const List& list, const std::wstring& text) {
    std::wstring message = L"\"" + text + L"\" is not an entry of the list " + list.label + L". Choose one of: ";
    for (std::size_t i = 0; i < list.count; ++i) message += (i ? L", " : L"") + std::wstring(list.entries[i]);
    return message + L".";
}
