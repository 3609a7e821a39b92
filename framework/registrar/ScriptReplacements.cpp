#include "ScriptReplacements.h"

#include <algorithm>
#include <cwctype>

namespace {

bool SameName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
           });
}

}  // namespace

void ScriptReplacements::Add(const std::wstring& name, const std::wstring& value) {
    m_entries.emplace_back(name, value);
}

const std::wstring* ScriptReplacements::Find(const std::wstring& name) const {
    for (const auto& entry : m_entries)
        if (SameName(entry.first, name)) return &entry.second;
    return nullptr;
}

RegistrarStatus ScriptReplacements::Expand(const std::wstring& text, std::wstring& expanded) const {
    expanded.clear();
    for (std::size_t position = 0; position < text.size();) {
        if (text[position] != L'%') {
            expanded += text[position++];
            continue;
        }
        RegistrarStatus status = ExpandOne(text, position, expanded);
        if (!status.IsOk()) return status;
    }
    return RegistrarStatus::Ok();
}

// position is at a '%'; moves it past the closing '%'.
RegistrarStatus ScriptReplacements::ExpandOne(const std::wstring& text, std::size_t& position,
                                              std::wstring& expanded) const {
    const std::size_t close = text.find(L'%', position + 1);
    const std::wstring where = L"line " + std::to_wstring(LineOf(text, position)) + L": ";
    if (close == std::wstring::npos)
        return RegistrarStatus::Failure(RegistryCode::kInvalidData, where + L"unterminated %NAME%");
    const std::wstring name = text.substr(position + 1, close - position - 1);
    position = close + 1;
    if (name.empty()) {
        expanded += L'%';
        return RegistrarStatus::Ok();
    }
    const std::wstring* value = Find(name);
    if (!value)
        return RegistrarStatus::Failure(RegistryCode::kInvalidData, where + L"unknown %" + name + L"%");
    expanded += DoubleQuotes(*value);
    return RegistrarStatus::Ok();
}

std::wstring ScriptReplacements::DoubleQuotes(const std::wstring& value) {
    std::wstring doubled;
    for (wchar_t c : value) {
        doubled += c;
        if (c == L'\'') doubled += c;
    }
    return doubled;
}

std::size_t ScriptReplacements::LineOf(const std::wstring& text, std::size_t position) {
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + position, L'\n'));
}
