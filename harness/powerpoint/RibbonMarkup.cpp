#include "RibbonMarkup.h"

#include <windows.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <algorithm>
#include <map>

#include "ComRef.h"
#include "LibraryExport.h"
#include "UniqueHandle.h"

const wchar_t* const RibbonMarkup::kNamespace2006 = L"http://schemas.microsoft.com/office/2006/01/customui";
const wchar_t* const RibbonMarkup::kNamespace2009 = L"http://schemas.microsoft.com/office/2009/07/customui";

struct RibbonMarkup::Element {
    std::wstring name;
    std::wstring namespaceUri;
    std::map<std::wstring, std::wstring> attributes;
    bool empty = false;
};

namespace {

// Where each element may stand, and the attributes of it that the schema has
// and this stand-in knows.
const struct {
    const wchar_t* name;
    const wchar_t* parent;
    std::vector<std::wstring> attributes;
} kSchema[] = {
    {L"customUI", L"", {L"onLoad", L"loadImage"}},
    {L"ribbon", L"customUI", {L"startFromScratch"}},
    {L"tabs", L"ribbon", {}},
    {L"tab", L"tabs", {L"id", L"idMso", L"label", L"keytip", L"visible"}},
    {L"group", L"tab",
     {L"id", L"idMso", L"label", L"keytip", L"insertAfterMso", L"insertBeforeMso", L"visible", L"getVisible"}},
    {L"button", L"group",
     {L"id", L"idMso", L"label", L"size", L"keytip", L"screentip", L"supertip", L"tag", L"onAction", L"getImage",
      L"image", L"imageMso", L"enabled", L"getEnabled", L"visible", L"getVisible", L"showLabel", L"showImage"}},
};

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Attribute(const std::map<std::wstring, std::wstring>& attributes, const wchar_t* name) {
    const auto found = attributes.find(name);
    return found == attributes.end() ? std::wstring() : found->second;
}

// The i686 toolchain has no import library for xmllite.dll.
HRESULT CreateReader(ComRef<IXmlReader>& reader) {
    using CreateFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
    static const UniqueLibrary library(LoadLibraryW(L"xmllite.dll"));
    const auto create = LibraryExport<CreateFn>(library.Get(), "CreateXmlReader");
    return create ? create(__uuidof(IXmlReader), reader.PutVoid(), nullptr) : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT ReadElement(IXmlReader* reader, RibbonMarkup::Element& element) {
    const wchar_t* text = nullptr;
    HRESULT hr = reader->GetLocalName(&text, nullptr);
    if (SUCCEEDED(hr)) element.name = text;
    if (SUCCEEDED(hr)) hr = reader->GetNamespaceUri(&text, nullptr);
    if (SUCCEEDED(hr)) element.namespaceUri = text;
    element.empty = reader->IsEmptyElement();
    for (HRESULT more = reader->MoveToFirstAttribute(); SUCCEEDED(hr) && more == S_OK;
         more = reader->MoveToNextAttribute()) {
        const wchar_t *name = nullptr, *value = nullptr, *prefix = nullptr;
        hr = reader->GetLocalName(&name, nullptr);
        if (SUCCEEDED(hr)) hr = reader->GetPrefix(&prefix, nullptr);
        if (SUCCEEDED(hr)) hr = reader->GetValue(&value, nullptr);
        const bool declaration = (prefix && std::wstring(prefix) == L"xmlns") || std::wstring(name) == L"xmlns";
        if (SUCCEEDED(hr) && !declaration) element.attributes[name] = value;
    }
    return hr;
}

}  // namespace

bool RibbonMarkup::Parse(const std::wstring& xml, std::wstring& error) {
    const std::string bytes = Utf8(xml);
    ComRef<IStream> stream = ComRef<IStream>::Attach(
        SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
    ComRef<IXmlReader> reader;
    if (!stream || FAILED(CreateReader(reader)) ||
        FAILED(reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(reader->SetInput(stream.Get()))) {
        error = L"no XML reader";
        return false;
    }
    XmlNodeType type;
    HRESULT hr;
    while ((hr = reader->Read(&type)) == S_OK) {
        if (type == XmlNodeType_Element) {
            Element element;
            if (FAILED(hr = ReadElement(reader.Get(), element))) break;
            if (!Open(element, error)) return false;
            if (element.empty && !Close(error)) return false;
        } else if (type == XmlNodeType_EndElement && !Close(error)) {
            return false;
        }
    }
    if (FAILED(hr)) {
        error = L"the markup is not well formed";
        return false;
    }
    if (m_namespace.empty()) error = L"no customUI element";
    return !m_namespace.empty();
}

bool RibbonMarkup::Open(const Element& element, std::wstring& error) {
    if (m_path.empty()) {
        if (element.namespaceUri != kNamespace2006 && element.namespaceUri != kNamespace2009) {
            error = L"unknown namespace \"" + element.namespaceUri + L"\"";
            return false;
        }
        m_namespace = element.namespaceUri;
    }
    const auto rule = std::find_if(std::begin(kSchema), std::end(kSchema),
                                   [&](const auto& r) { return element.name == r.name; });
    const std::wstring parent = m_path.empty() ? L"" : m_path.back();
    if (element.namespaceUri != m_namespace || rule == std::end(kSchema) || parent != rule->parent) {
        error = L"element " + element.name + L" is not allowed here";
        return false;
    }
    for (const auto& attribute : element.attributes)
        if (std::find(rule->attributes.begin(), rule->attributes.end(), attribute.first) == rule->attributes.end()) {
            error = L"attribute " + attribute.first + L" is not allowed on " + element.name;
            return false;
        }
    const std::wstring id = Attribute(element.attributes, L"id");
    const bool custom = !id.empty();
    if (custom && std::find(m_ids.begin(), m_ids.end(), id) != m_ids.end()) {
        error = L"id " + id + L" is used twice";
        return false;
    }
    if (custom) m_ids.push_back(id);
    m_path.push_back(element.name);
    const auto& a = element.attributes;
    if (element.name == L"customUI") {
        m_onLoad = Attribute(a, L"onLoad");
    } else if (element.name == L"tab") {
        m_tabIdMso = Attribute(a, L"idMso");
    } else if (element.name == L"group") {
        if (!custom || Attribute(a, L"label").empty()) {
            error = L"a group without an id or a label";
            return false;
        }
        m_groups.push_back({id, Attribute(a, L"label"), m_tabIdMso, {}});
    } else if (element.name == L"button") {
        Button button{id, Attribute(a, L"label"), Attribute(a, L"size"), Attribute(a, L"keytip"),
                      Attribute(a, L"screentip"), Attribute(a, L"supertip"), Attribute(a, L"tag"),
                      Attribute(a, L"onAction"), Attribute(a, L"getImage")};
        if (!custom || button.label.empty() || button.onAction.empty() || button.keyTip.size() > 3) {
            error = L"button " + id + L" without an id, a label or an onAction, or with a keytip too long";
            return false;
        }
        m_groups.back().buttons.push_back(button);
    }
    return true;
}

bool RibbonMarkup::Close(std::wstring& error) {
    if (m_path.empty()) {
        error = L"an end without a start";
        return false;
    }
    m_path.pop_back();
    return true;
}
