#include "DialogOptions.h"

#include <windows.h>

#include "ConvertDialogDriver.h"
#include "resource.h"

namespace {

const int kDescription = 0, kSecurity = 1, kAdvanced = 2;

struct Field {
    const wchar_t* name;
    int tab;
    int id;
};

const Field kTexts[] = {{L"title", kDescription, IDC_TITLE},
                        {L"author", kDescription, IDC_AUTHOR},
                        {L"subject", kDescription, IDC_SUBJECT},
                        {L"keywords", kDescription, IDC_KEYWORDS}};
const Field kLists[] = {{L"document-compression", kAdvanced, IDC_DOCUMENT_COMPRESSION},
                        {L"image-compression", kAdvanced, IDC_IMAGE_COMPRESSION},
                        {L"jpeg-quality", kAdvanced, IDC_JPEG_QUALITY},
                        {L"pdf-version", kAdvanced, IDC_PDF_VERSION}};
const Field kTicks[] = {{L"printing", kSecurity, IDC_PRINTING},
                        {L"changing", kSecurity, IDC_CHANGING},
                        {L"copying", kSecurity, IDC_CONTENT_COPYING},
                        {L"forms", kSecurity, IDC_FORM_FILLING}};
const wchar_t* const kSecurityNames[] = {L"user-password", L"owner-password", L"encryption", L"tick"};

template <size_t N>
const Field* Find(const Field (&fields)[N], const std::wstring& name) {
    for (const Field& field : fields)
        if (name == field.name) return &field;
    return nullptr;
}

bool IsSecurityName(const std::wstring& name) {
    for (const wchar_t* known : kSecurityNames)
        if (name == known) return true;
    return false;
}

// Selects the first entry whose text contains `value`, as a pick from the list would.
bool SelectEntry(HWND list, const std::wstring& value) {
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)), L'\0');
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        if (text.find(value) == std::wstring::npos) continue;
        SendMessageW(list, CB_SETCURSEL, i, 0);
        return true;
    }
    return false;
}

// Into the list's edit field, as keys would: the field tells the list, which drops its selection.
bool TypeInto(HWND list, const std::wstring& text) {
    HWND field = FindWindowExW(list, nullptr, L"Edit", nullptr);
    return field && SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Tick(const ConvertDialogDriver& dialog, int id) {
    if (!dialog.IsCheckedOnPage(kSecurity, id)) dialog.ClickOnPage(kSecurity, id);
}

bool TickAll(const ConvertDialogDriver& dialog, const std::wstring& names) {
    size_t start = 0;
    while (start <= names.size()) {
        size_t end = names.find(L',', start);
        if (end == std::wstring::npos) end = names.size();
        const Field* box = Find(kTicks, names.substr(start, end - start));
        if (!box) return false;
        Tick(dialog, box->id);
        start = end + 1;
    }
    return true;
}

}  // namespace

bool DialogOptions::Add(const std::wstring& nameValue) {
    const size_t equals = nameValue.find(L'=');
    if (equals == std::wstring::npos) return false;
    const std::wstring name = nameValue.substr(0, equals);
    if (!Find(kTexts, name) && !Find(kLists, name) && !IsSecurityName(name)) return false;
    m_items.emplace_back(name, nameValue.substr(equals + 1));
    return true;
}

bool DialogOptions::NeedsSecurity() const {
    for (const auto& item : m_items)
        if (IsSecurityName(item.first)) return true;
    return false;
}

bool DialogOptions::ApplyOne(const ConvertDialogDriver& dialog, const std::wstring& name,
                             const std::wstring& value) const {
    if (const Field* text = Find(kTexts, name)) {
        dialog.SetTextOnPage(text->tab, text->id, value);
        return true;
    }
    if (const Field* list = Find(kLists, name)) {
        const std::wstring typed = L"typed:";
        HWND control = dialog.PageItem(list->tab, list->id);
        if (value.rfind(typed, 0) == 0) return TypeInto(control, value.substr(typed.size()));
        return SelectEntry(control, value);
    }
    if (name == L"user-password" || name == L"owner-password") {
        const bool user = name == L"user-password";
        Tick(dialog, user ? IDC_ENABLE_USER_PASSWORD : IDC_ENABLE_OWNER_PASSWORD);
        dialog.SetTextOnPage(kSecurity, user ? IDC_USER_PASSWORD : IDC_OWNER_PASSWORD, value);
        return true;
    }
    if (name == L"encryption" && (value == L"40" || value == L"128")) {
        dialog.ClickOnPage(kSecurity, value == L"40" ? IDC_ENCRYPTION_LOW : IDC_ENCRYPTION_HIGH);
        return true;
    }
    return name == L"tick" && TickAll(dialog, value);
}

bool DialogOptions::Apply(const ConvertDialogDriver& dialog) const {
    if (NeedsSecurity()) Tick(dialog, IDC_ENABLE_SECURITY);
    // The user password ticks the owner's box too; set it first so the owner's text stays.
    bool applied = true;
    for (const bool userFirst : {true, false})
        for (const auto& item : m_items)
            if ((item.first == L"user-password") == userFirst)
                applied = ApplyOne(dialog, item.first, item.second) && applied;
    return applied;
}
