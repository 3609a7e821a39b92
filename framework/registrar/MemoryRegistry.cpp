#include "MemoryRegistry.h"

#include <algorithm>
#include <cwctype>

bool MemoryRegistry::NameLess::operator()(const std::wstring& a, const std::wstring& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
        return std::towlower(static_cast<wint_t>(x)) < std::towlower(static_cast<wint_t>(y));
    });
}

// The predefined roots always exist, as in Windows.
MemoryRegistry::MemoryRegistry() {
    for (RegistryRoot root : {RegistryRoot::ClassesRoot, RegistryRoot::CurrentUser,
                              RegistryRoot::LocalMachine, RegistryRoot::Users, RegistryRoot::CurrentConfig})
        m_roots[root];
}

std::uint32_t MemoryRegistry::CreateKey(const RegistryKeyPath& key) {
    if (IsDenied(key)) return RegistryCode::kAccessDenied;
    Node* node = &m_roots[key.Root()];
    for (const auto& name : key.Names()) {
        auto& child = node->subkeys[name];
        if (!child) child = std::make_unique<Node>();
        node = child.get();
    }
    return RegistryCode::kOk;
}

std::uint32_t MemoryRegistry::OpenKey(const RegistryKeyPath& key) {
    return Find(key) ? RegistryCode::kOk : RegistryCode::kNotFound;
}

std::uint32_t MemoryRegistry::SetString(const RegistryKeyPath& key, const std::wstring& name,
                                        const std::wstring& text) {
    Value value;
    value.text = text;
    return SetValue(key, name, value);
}

std::uint32_t MemoryRegistry::SetDword(const RegistryKeyPath& key, const std::wstring& name,
                                       std::uint32_t number) {
    Value value;
    value.isDword = true;
    value.number = number;
    return SetValue(key, name, value);
}

std::uint32_t MemoryRegistry::SetValue(const RegistryKeyPath& key, const std::wstring& name,
                                       const Value& value) {
    if (IsDenied(key)) return RegistryCode::kAccessDenied;
    Node* node = Find(key);
    if (!node) return RegistryCode::kNotFound;
    node->values[name] = value;
    return RegistryCode::kOk;
}

std::uint32_t MemoryRegistry::DeleteValue(const RegistryKeyPath& key, const std::wstring& name) {
    if (IsDenied(key)) return RegistryCode::kAccessDenied;
    Node* node = Find(key);
    if (!node) return RegistryCode::kNotFound;
    return node->values.erase(name) ? RegistryCode::kOk : RegistryCode::kNotFound;
}

std::uint32_t MemoryRegistry::DeleteKey(const RegistryKeyPath& key) {
    if (key.IsRoot() || IsDenied(key)) return RegistryCode::kAccessDenied;
    const RegistryKeyPath parentPath(key.Root(), {key.Names().begin(), key.Names().end() - 1});
    Node* parent = Find(parentPath);
    if (!parent) return RegistryCode::kNotFound;
    auto child = parent->subkeys.find(key.Names().back());
    if (child == parent->subkeys.end()) return RegistryCode::kNotFound;
    if (!child->second->subkeys.empty()) return RegistryCode::kAccessDenied;
    parent->subkeys.erase(child);
    return RegistryCode::kOk;
}

std::uint32_t MemoryRegistry::HasSubkeys(const RegistryKeyPath& key, bool& hasSubkeys) {
    const Node* node = Find(key);
    if (!node) return RegistryCode::kNotFound;
    hasSubkeys = !node->subkeys.empty();
    return RegistryCode::kOk;
}

std::uint32_t MemoryRegistry::EnumerateSubkeys(const RegistryKeyPath& key, std::vector<std::wstring>& names) {
    names.clear();
    const Node* node = Find(key);
    if (!node) return RegistryCode::kNotFound;
    for (const auto& child : node->subkeys) names.push_back(child.first);
    return RegistryCode::kOk;
}

void MemoryRegistry::DenyAccess(const RegistryKeyPath& key) {
    m_denied.insert(key.ToString());
}

bool MemoryRegistry::HasKey(const RegistryKeyPath& key) const {
    return Find(key) != nullptr;
}

std::optional<MemoryRegistry::Value> MemoryRegistry::FindValue(const RegistryKeyPath& key,
                                                               const std::wstring& name) const {
    const Node* node = Find(key);
    if (!node) return std::nullopt;
    auto value = node->values.find(name);
    if (value == node->values.end()) return std::nullopt;
    return value->second;
}

void MemoryRegistry::VisitValues(const ValueVisitor& visit) const {
    for (const auto& root : m_roots) VisitNode(root.second, RegistryKeyPath(root.first), visit);
}

void MemoryRegistry::VisitNode(const Node& node, const RegistryKeyPath& path, const ValueVisitor& visit) {
    for (const auto& value : node.values) visit(path, value.first, value.second);
    for (const auto& child : node.subkeys) VisitNode(*child.second, path.Child(child.first), visit);
}

std::vector<std::wstring> MemoryRegistry::Dump() const {
    std::vector<std::wstring> lines;
    for (const auto& root : m_roots) DumpNode(root.second, RegistryKeyPath::RootName(root.first), lines);
    return lines;
}

void MemoryRegistry::DumpNode(const Node& node, const std::wstring& path, std::vector<std::wstring>& lines) {
    for (const auto& value : node.values)
        lines.push_back(path + L" @" + value.first + L" = " + ValueText(value.second));
    for (const auto& child : node.subkeys) {
        const std::wstring childPath = path + L'\\' + child.first;
        lines.push_back(childPath);
        DumpNode(*child.second, childPath, lines);
    }
}

std::wstring MemoryRegistry::ValueText(const Value& value) {
    return value.isDword ? L"d " + std::to_wstring(value.number) : L"s '" + value.text + L"'";
}

MemoryRegistry::Node* MemoryRegistry::Find(const RegistryKeyPath& key) {
    return const_cast<Node*>(static_cast<const MemoryRegistry*>(this)->Find(key));
}

const MemoryRegistry::Node* MemoryRegistry::Find(const RegistryKeyPath& key) const {
    auto root = m_roots.find(key.Root());
    const Node* node = root == m_roots.end() ? nullptr : &root->second;
    for (auto name = key.Names().begin(); node && name != key.Names().end(); ++name) {
        auto child = node->subkeys.find(*name);
        node = child == node->subkeys.end() ? nullptr : child->second.get();
    }
    return node;
}

bool MemoryRegistry::IsDenied(const RegistryKeyPath& key) const {
    return m_denied.count(key.ToString()) != 0;
}
