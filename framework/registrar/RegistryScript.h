#pragma once
// A parsed registrar script: root keys, each with a tree of keys, default
// values and named values.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RegistrarStatus.h"
#include "RegistryKeyPath.h"
#include "ScriptReplacements.h"

struct ScriptValue {
    enum class Type { String, Dword };
    Type type = Type::String;
    std::wstring name;  // empty: the key's default value
    std::wstring text;
    std::uint32_t number = 0;
};

struct ScriptKey {
    enum class Removal { Normal, NoRemove, ForceRemove };
    std::wstring name;
    Removal removal = Removal::Normal;
    std::optional<ScriptValue> defaultValue;
    std::vector<ScriptValue> values;
    std::vector<ScriptKey> subkeys;
};

struct ScriptRoot {
    RegistryRoot root = RegistryRoot::ClassesRoot;
    std::vector<ScriptKey> keys;
};

class RegistryScript {
public:
    // Expands the replacements, then parses. A malformed script leaves script empty.
    static RegistrarStatus Parse(const std::wstring& text, const ScriptReplacements& replacements,
                                 RegistryScript& script);

    std::vector<ScriptRoot> roots;
};
