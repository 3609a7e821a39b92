#pragma once
// Applies a registrar script to a registry: registration writes its keys and
// values, removal takes them away again.
//  - Registration creates every key, sets its default and named values, and first
//    deletes a ForceRemove key with everything below it; it stops at the first failure.
//  - Removal skips a key that does not exist, handles the listed subkeys first,
//    deletes the values named by "val" lines, and then deletes the key unless it is
//    NoRemove or subkeys remain under it. It goes on past a failure, so as much as
//    possible is removed, and reports the first one.
#include <string>

#include "RegistrarStatus.h"
#include "RegistryScript.h"
#include "RegistryStore.h"

class Registrar {
public:
    // PerUser puts what a script writes under HKCR into HKCU\Software\Classes.
    enum class ClassesScope { Machine, PerUser };

    explicit Registrar(RegistryStore& store, ClassesScope scope = ClassesScope::Machine)
        : m_store(store), m_scope(scope) {}

    // Parse the whole script before touching the registry: a malformed one writes nothing.
    RegistrarStatus Register(const std::wstring& text, const ScriptReplacements& replacements);
    RegistrarStatus Unregister(const std::wstring& text, const ScriptReplacements& replacements);
    RegistrarStatus Register(const RegistryScript& script);
    RegistrarStatus Unregister(const RegistryScript& script);

private:
    RegistryKeyPath RootPath(RegistryRoot root) const;
    RegistrarStatus RegisterKey(const RegistryKeyPath& parent, const ScriptKey& key);
    RegistrarStatus WriteValues(const RegistryKeyPath& path, const ScriptKey& key);
    RegistrarStatus WriteValue(const RegistryKeyPath& path, const ScriptValue& value);
    RegistrarStatus DeleteTree(const RegistryKeyPath& path);
    RegistrarStatus UnregisterKey(const RegistryKeyPath& parent, const ScriptKey& key);
    RegistrarStatus DeleteListedValues(const RegistryKeyPath& path, const ScriptKey& key);
    RegistrarStatus DeleteIfNoSubkeys(const RegistryKeyPath& path);
    RegistrarStatus Check(std::uint32_t code, const wchar_t* action, const RegistryKeyPath& path) const;

    RegistryStore& m_store;
    ClassesScope m_scope;
};
