#pragma once
// Recursive descent over the tokens of one script:
//   script := root*          root := ROOTNAME "{" key* "}"
//   key    := [NoRemove|ForceRemove] name ["=" value] ["{" (key | val)* "}"]
//   val    := "val" name "=" value          value := ("s" | "d") quoted
#include <cstddef>
#include <vector>

#include "RegistryScript.h"
#include "ScriptTokenizer.h"

class ScriptParser {
public:
    static RegistrarStatus Parse(const std::vector<ScriptToken>& tokens, RegistryScript& script);

private:
    explicit ScriptParser(const std::vector<ScriptToken>& tokens) : m_tokens(tokens) {}

    RegistrarStatus ParseRoot(ScriptRoot& root);
    RegistrarStatus ParseRootBody(ScriptRoot& root);
    RegistrarStatus ParseKey(ScriptKey& key);
    RegistrarStatus ParseKeyBody(ScriptKey& key);
    RegistrarStatus ParseVal(ScriptKey& key);
    RegistrarStatus ParseValue(ScriptValue& value);
    RegistrarStatus ParseName(std::wstring& name, const wchar_t* what);
    RegistrarStatus CheckKeyName(const std::wstring& name) const;
    RegistrarStatus ParseDword(const std::wstring& digits, std::uint32_t& number);
    RegistrarStatus Expect(ScriptToken::Kind kind, const wchar_t* what);

    const ScriptToken& Current() const { return m_tokens[m_index]; }
    bool At(ScriptToken::Kind kind) const { return Current().kind == kind; }
    bool AtWord(const wchar_t* keyword) const;
    RegistrarStatus Failure(const std::wstring& what) const;

    const std::vector<ScriptToken>& m_tokens;
    std::size_t m_index = 0;
};
