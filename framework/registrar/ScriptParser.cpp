#include "ScriptParser.h"

#include <cwctype>
#include <iterator>

namespace {

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

struct RootName {
    const wchar_t* shortName;
    const wchar_t* longName;
    RegistryRoot root;
};

const RootName kRootNames[] = {
    {L"HKCR", L"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {L"HKCU", L"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {L"HKLM", L"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {L"HKU", L"HKEY_USERS", RegistryRoot::Users},
    {L"HKCC", L"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
};

bool FindRoot(const std::wstring& word, RegistryRoot& root) {
    for (const auto& entry : kRootNames) {
        if (EqualsNoCase(word, entry.shortName) || EqualsNoCase(word, entry.longName)) {
            root = entry.root;
            return true;
        }
    }
    return false;
}

}  // namespace

RegistrarStatus ScriptParser::Parse(const std::vector<ScriptToken>& tokens, RegistryScript& script) {
    ScriptParser parser(tokens);
    script.roots.clear();
    while (!parser.At(ScriptToken::Kind::End)) {
        ScriptRoot root;
        RegistrarStatus status = parser.ParseRoot(root);
        if (!status.IsOk()) {
            script.roots.clear();
            return status;
        }
        script.roots.push_back(std::move(root));
    }
    return RegistrarStatus::Ok();
}

RegistrarStatus ScriptParser::ParseRoot(ScriptRoot& root) {
    if (!At(ScriptToken::Kind::Word) || !FindRoot(Current().text, root.root))
        return Failure(L"expected a root key such as HKCR");
    ++m_index;
    RegistrarStatus status = Expect(ScriptToken::Kind::OpenBrace, L"\"{\" after the root key");
    return status.IsOk() ? ParseRootBody(root) : status;
}

RegistrarStatus ScriptParser::ParseRootBody(ScriptRoot& root) {
    while (!At(ScriptToken::Kind::CloseBrace)) {
        if (AtWord(L"val")) return Failure(L"a root key takes no values");
        ScriptKey key;
        RegistrarStatus status = ParseKey(key);
        if (!status.IsOk()) return status;
        root.keys.push_back(std::move(key));
    }
    ++m_index;
    return RegistrarStatus::Ok();
}

RegistrarStatus ScriptParser::ParseKey(ScriptKey& key) {
    if (AtWord(L"NoRemove")) key.removal = ScriptKey::Removal::NoRemove;
    if (AtWord(L"ForceRemove")) key.removal = ScriptKey::Removal::ForceRemove;
    if (key.removal != ScriptKey::Removal::Normal) ++m_index;
    if (AtWord(L"NoRemove") || AtWord(L"ForceRemove")) return Failure(L"expected one removal flag");
    RegistrarStatus status = ParseName(key.name, L"a key name");
    if (status.IsOk()) status = CheckKeyName(key.name);
    if (status.IsOk() && At(ScriptToken::Kind::Equals)) {
        ++m_index;
        key.defaultValue.emplace();
        status = ParseValue(*key.defaultValue);
    }
    if (status.IsOk() && At(ScriptToken::Kind::OpenBrace)) {
        ++m_index;
        status = ParseKeyBody(key);
    }
    return status;
}

RegistrarStatus ScriptParser::ParseKeyBody(ScriptKey& key) {
    while (!At(ScriptToken::Kind::CloseBrace)) {
        RegistrarStatus status = RegistrarStatus::Ok();
        if (AtWord(L"val")) {
            status = ParseVal(key);
        } else {
            key.subkeys.emplace_back();
            status = ParseKey(key.subkeys.back());
        }
        if (!status.IsOk()) return status;
    }
    ++m_index;
    return RegistrarStatus::Ok();
}

RegistrarStatus ScriptParser::ParseVal(ScriptKey& key) {
    ++m_index;
    ScriptValue value;
    RegistrarStatus status = ParseName(value.name, L"a value name after \"val\"");
    if (status.IsOk()) status = Expect(ScriptToken::Kind::Equals, L"\"=\" after the value name");
    if (status.IsOk()) status = ParseValue(value);
    if (status.IsOk()) key.values.push_back(std::move(value));
    return status;
}

RegistrarStatus ScriptParser::ParseValue(ScriptValue& value) {
    const bool isString = AtWord(L"s");
    if (!isString && !AtWord(L"d")) return Failure(L"expected the value type s or d");
    ++m_index;
    if (!At(ScriptToken::Kind::Quoted)) return Failure(L"expected the value as quoted text");
    const std::wstring text = Current().text;
    value.type = isString ? ScriptValue::Type::String : ScriptValue::Type::Dword;
    RegistrarStatus status = RegistrarStatus::Ok();
    if (isString)
        value.text = text;
    else
        status = ParseDword(text, value.number);
    if (status.IsOk()) ++m_index;
    return status;
}

RegistrarStatus ScriptParser::ParseName(std::wstring& name, const wchar_t* what) {
    if (!At(ScriptToken::Kind::Word) && !At(ScriptToken::Kind::Quoted))
        return Failure(std::wstring(L"expected ") + what);
    name = Current().text;
    ++m_index;
    return RegistrarStatus::Ok();
}

// A key name cannot hold a backslash; an empty name would be the parent itself.
RegistrarStatus ScriptParser::CheckKeyName(const std::wstring& name) const {
    if (!name.empty() && name.find(L'\\') == std::wstring::npos) return RegistrarStatus::Ok();
    return RegistrarStatus::Failure(
        RegistryCode::kInvalidData,
        L"line " + std::to_wstring(m_tokens[m_index - 1].line) + L": invalid key name '" + name + L"'");
}

RegistrarStatus ScriptParser::ParseDword(const std::wstring& digits, std::uint32_t& number) {
    if (digits.empty()) return Failure(L"empty DWORD value");
    std::uint64_t total = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return Failure(L"DWORD value '" + digits + L"' is not decimal digits");
        total = total * 10 + static_cast<std::uint64_t>(c - L'0');
        if (total > 0xFFFFFFFFull) return Failure(L"DWORD value '" + digits + L"' is too large");
    }
    number = static_cast<std::uint32_t>(total);
    return RegistrarStatus::Ok();
}

RegistrarStatus ScriptParser::Expect(ScriptToken::Kind kind, const wchar_t* what) {
    if (!At(kind)) return Failure(std::wstring(L"expected ") + what);
    ++m_index;
    return RegistrarStatus::Ok();
}

bool ScriptParser::AtWord(const wchar_t* keyword) const {
    return At(ScriptToken::Kind::Word) && EqualsNoCase(Current().text, keyword);
}

RegistrarStatus ScriptParser::Failure(const std::wstring& what) const {
    const std::wstring found =
        At(ScriptToken::Kind::End) ? L"the end of the script" : L"'" + Current().text + L"'";
    return RegistrarStatus::Failure(RegistryCode::kInvalidData, L"line " + std::to_wstring(Current().line) +
                                                                    L": " + what + L", found " + found);
}
