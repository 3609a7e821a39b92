#include "OptionVocabulary.h"

namespace {

// The entries are ASCII; other letters are compared as they are.
wchar_t Folded(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring Trimmed(const std::wstring& text) {
    const wchar_t blanks[] = L" \t\u00A0\u3000";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool EqualFolded(const std::wstring& a, const wchar_t* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (Folded(a[i]) != Folded(b[i])) return false;
    return i == a.size() && !b[i];
}

}  // namespace

const wchar_t* OptionVocabulary::Match(const std::wstring& text, const wchar_t* const* entries, std::size_t count) {
    const std::wstring trimmed = Trimmed(text);
    for (std::size_t i = 0; i < count; ++i)
        if (EqualFolded(trimmed, entries[i])) return entries[i];
    return nullptr;
}

std::wstring OptionVocabulary::Refusal(const std::wstring& text, const std::wstring& listName,
                                       const wchar_t* const* entries, std::size_t count) {
    std::wstring refusal = L"\"" + text + L"\" is not an entry of the list " + listName + L". Choose one of: ";
    for (std::size_t i = 0; i < count; ++i) refusal += (i ? L", " : L"") + std::wstring(entries[i]);
    return refusal + L".";
}
