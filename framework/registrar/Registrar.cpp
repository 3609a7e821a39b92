#include "Registrar.h"

#include <new>

namespace {

// Keeps the first failure while removal carries on.
void Keep(RegistrarStatus& first, const RegistrarStatus& next) {
    if (first.IsOk() && !next.IsOk()) first = next;
}

RegistrarStatus OutOfMemory() {
    return RegistrarStatus::Failure(RegistryCode::kOutOfMemory, L"out of memory while applying the script");
}

}  // namespace

RegistrarStatus Registrar::Register(const std::wstring& text, const ScriptReplacements& replacements) {
    RegistryScript script;
    RegistrarStatus status = RegistryScript::Parse(text, replacements, script);
    return status.IsOk() ? Register(script) : status;
}

RegistrarStatus Registrar::Unregister(const std::wstring& text, const ScriptReplacements& replacements) {
    RegistryScript script;
    RegistrarStatus status = RegistryScript::Parse(text, replacements, script);
    return status.IsOk() ? Unregister(script) : status;
}

RegistrarStatus Registrar::Register(const RegistryScript& script) {
    try {
        for (const auto& root : script.roots) {
            for (const auto& key : root.keys) {
                RegistrarStatus status = RegisterKey(RootPath(root.root), key);
                if (!status.IsOk()) return status;
            }
        }
        return RegistrarStatus::Ok();
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
}

RegistrarStatus Registrar::Unregister(const RegistryScript& script) {
    try {
        RegistrarStatus first = RegistrarStatus::Ok();
        for (const auto& root : script.roots)
            for (const auto& key : root.keys) Keep(first, UnregisterKey(RootPath(root.root), key));
        return first;
    } catch (const std::bad_alloc&) {
        return OutOfMemory();
    }
}

RegistryKeyPath Registrar::RootPath(RegistryRoot root) const {
    if (root == RegistryRoot::ClassesRoot && m_scope == ClassesScope::PerUser)
        return RegistryKeyPath(RegistryRoot::CurrentUser, {L"Software", L"Classes"});
    return RegistryKeyPath(root);
}

RegistrarStatus Registrar::RegisterKey(const RegistryKeyPath& parent, const ScriptKey& key) {
    const RegistryKeyPath path = parent.Child(key.name);
    RegistrarStatus status = RegistrarStatus::Ok();
    if (key.removal == ScriptKey::Removal::ForceRemove) status = DeleteTree(path);
    if (status.IsOk()) status = Check(m_store.CreateKey(path), L"create", path);
    if (status.IsOk()) status = WriteValues(path, key);
    for (auto subkey = key.subkeys.begin(); status.IsOk() && subkey != key.subkeys.end(); ++subkey)
        status = RegisterKey(path, *subkey);
    return status;
}

RegistrarStatus Registrar::WriteValues(const RegistryKeyPath& path, const ScriptKey& key) {
    RegistrarStatus status = key.defaultValue ? WriteValue(path, *key.defaultValue) : RegistrarStatus::Ok();
    for (auto value = key.values.begin(); status.IsOk() && value != key.values.end(); ++value)
        status = WriteValue(path, *value);
    return status;
}

RegistrarStatus Registrar::WriteValue(const RegistryKeyPath& path, const ScriptValue& value) {
    const std::uint32_t code = value.type == ScriptValue::Type::String
                                   ? m_store.SetString(path, value.name, value.text)
                                   : m_store.SetDword(path, value.name, value.number);
    return Check(code, L"set a value of", path);
}

// Deletes the key with everything below it; a key that is not there is fine.
RegistrarStatus Registrar::DeleteTree(const RegistryKeyPath& path) {
    std::vector<std::wstring> names;
    const std::uint32_t code = m_store.EnumerateSubkeys(path, names);
    if (code == RegistryCode::kNotFound) return RegistrarStatus::Ok();
    RegistrarStatus status = Check(code, L"list the subkeys of", path);
    for (auto name = names.begin(); status.IsOk() && name != names.end(); ++name)
        status = DeleteTree(path.Child(*name));
    return status.IsOk() ? Check(m_store.DeleteKey(path), L"delete", path) : status;
}

RegistrarStatus Registrar::UnregisterKey(const RegistryKeyPath& parent, const ScriptKey& key) {
    const RegistryKeyPath path = parent.Child(key.name);
    const std::uint32_t code = m_store.OpenKey(path);
    if (code == RegistryCode::kNotFound) return RegistrarStatus::Ok();
    RegistrarStatus first = Check(code, L"open", path);
    if (!first.IsOk()) return first;
    for (const auto& subkey : key.subkeys) Keep(first, UnregisterKey(path, subkey));
    Keep(first, DeleteListedValues(path, key));
    if (key.removal != ScriptKey::Removal::NoRemove) Keep(first, DeleteIfNoSubkeys(path));
    return first;
}

// Matters for a key that stays: a NoRemove key or one that still has other subkeys.
RegistrarStatus Registrar::DeleteListedValues(const RegistryKeyPath& path, const ScriptKey& key) {
    RegistrarStatus first = RegistrarStatus::Ok();
    for (const auto& value : key.values) {
        const std::uint32_t code = m_store.DeleteValue(path, value.name);
        if (code != RegistryCode::kNotFound) Keep(first, Check(code, L"delete a value of", path));
    }
    return first;
}

RegistrarStatus Registrar::DeleteIfNoSubkeys(const RegistryKeyPath& path) {
    bool hasSubkeys = false;
    RegistrarStatus status = Check(m_store.HasSubkeys(path, hasSubkeys), L"look under", path);
    if (!status.IsOk() || hasSubkeys) return status;
    return Check(m_store.DeleteKey(path), L"delete", path);
}

RegistrarStatus Registrar::Check(std::uint32_t code, const wchar_t* action,
                                 const RegistryKeyPath& path) const {
    if (code == RegistryCode::kOk) return RegistrarStatus::Ok();
    return RegistrarStatus::Failure(code, std::wstring(L"cannot ") + action + L" " + path.ToString() +
                                              L" (error " + std::to_wstring(code) + L")");
}
