#pragma once
// A registry held in memory, for unit tests of what the registrar writes. Names
// compare without regard to case and deleting a key with subkeys fails, as in
// the Win32 registry.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "RegistryStore.h"

class MemoryRegistry : public RegistryStore {
public:
    struct Value {
        bool isDword = false;
        std::wstring text;
        std::uint32_t number = 0;
    };

    MemoryRegistry();

    std::uint32_t CreateKey(const RegistryKeyPath& key) override;
    std::uint32_t OpenKey(const RegistryKeyPath& key) override;
    std::uint32_t SetString(const RegistryKeyPath& key, const std::wstring& name,
                            const std::wstring& text) override;
    std::uint32_t SetDword(const RegistryKeyPath& key, const std::wstring& name,
                           std::uint32_t number) override;
    std::uint32_t DeleteValue(const RegistryKeyPath& key, const std::wstring& name) override;
    std::uint32_t DeleteKey(const RegistryKeyPath& key) override;
    std::uint32_t HasSubkeys(const RegistryKeyPath& key, bool& hasSubkeys) override;
    std::uint32_t EnumerateSubkeys(const RegistryKeyPath& key, std::vector<std::wstring>& names) override;

    // Every change to this key (and its creation) fails with kAccessDenied, to test failures.
    void DenyAccess(const RegistryKeyPath& key);
    bool HasKey(const RegistryKeyPath& key) const;
    std::optional<Value> FindValue(const RegistryKeyPath& key, const std::wstring& name) const;
    using ValueVisitor = std::function<void(const RegistryKeyPath& key, const std::wstring& name, const Value& value)>;
    // Every value, keys and names in name order; "" names the default value.
    void VisitValues(const ValueVisitor& visit) const;
    // One line per key ("HKCR\AppID") and per value ("HKCR\AppID\X @Name = s 'text'",
    // "@" alone for the default value, "d 3" for a DWORD), in name order.
    std::vector<std::wstring> Dump() const;

private:
    struct NameLess {
        bool operator()(const std::wstring& a, const std::wstring& b) const;
    };
    struct Node {
        std::map<std::wstring, std::unique_ptr<Node>, NameLess> subkeys;
        std::map<std::wstring, Value, NameLess> values;
    };

    Node* Find(const RegistryKeyPath& key);
    const Node* Find(const RegistryKeyPath& key) const;
    bool IsDenied(const RegistryKeyPath& key) const;
    std::uint32_t SetValue(const RegistryKeyPath& key, const std::wstring& name, const Value& value);
    static void VisitNode(const Node& node, const RegistryKeyPath& path, const ValueVisitor& visit);
    static void DumpNode(const Node& node, const std::wstring& path, std::vector<std::wstring>& lines);
    static std::wstring ValueText(const Value& value);

    std::map<RegistryRoot, Node> m_roots;
    std::set<std::wstring, NameLess> m_denied;
};
