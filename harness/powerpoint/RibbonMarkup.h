#pragma once
// An add-in's ribbon markup as PowerPoint reads it: a customUI document in one
// of the namespaces PowerPoint knows, holding only the elements and attributes
// of its schema that this stand-in draws (tabs, groups, buttons). Like
// PowerPoint, it refuses the whole document for any fault: not well formed, an
// unknown namespace, element or attribute, a custom id used twice, a custom
// group or button without an id or label, or a button without an onAction.
#include <string>
#include <vector>

class RibbonMarkup {
public:
    struct Button {
        std::wstring id, label, size, keyTip, screenTip, superTip, tag, onAction, getImage;
    };
    struct Group {
        std::wstring id, label, tabIdMso;
        std::vector<Button> buttons;
    };
    struct Element;  // one start tag as read

    static const wchar_t* const kNamespace2006;
    static const wchar_t* const kNamespace2009;

    // False, with the reason in `error`, when PowerPoint would refuse it.
    bool Parse(const std::wstring& xml, std::wstring& error);

    const std::wstring& NamespaceUri() const { return m_namespace; }
    const std::wstring& OnLoad() const { return m_onLoad; }
    const std::vector<Group>& Groups() const { return m_groups; }

private:
    bool Open(const Element& element, std::wstring& error);
    bool Close(std::wstring& error);

    std::vector<std::wstring> m_path;  // the open elements, outermost first
    std::vector<std::wstring> m_ids;
    std::wstring m_namespace;
    std::wstring m_onLoad;
    std::wstring m_tabIdMso;
    std::vector<Group> m_groups;
};
