#include "InstallerSession.h"

#include <vector>

#include "UniqueHandle.h"

namespace {

struct MsiHandleTraits {
    using Type = MSIHANDLE;
    static Type Invalid() { return 0; }
    static void Close(Type h) { MsiCloseHandle(h); }
};

}  // namespace

std::wstring InstallerSession::ActionData() const {
    DWORD length = 0;
    wchar_t none[1] = {};
    if (MsiGetPropertyW(m_session, L"CustomActionData", none, &length) != ERROR_MORE_DATA) return {};
    std::vector<wchar_t> text(length + 1);
    length = static_cast<DWORD>(text.size());
    if (MsiGetPropertyW(m_session, L"CustomActionData", text.data(), &length) != ERROR_SUCCESS) return {};
    return std::wstring(text.data(), length);
}

void InstallerSession::Log(const std::wstring& line) const {
    const UniqueHandle<MsiHandleTraits> held(MsiCreateRecord(1));
    const MSIHANDLE record = held.Get();
    if (!record) return;
    // Field 0 is a template; the line goes in field 1 so that brackets in it stay text.
    MsiRecordSetStringW(record, 0, L"Quillset: [1]");
    MsiRecordSetStringW(record, 1, line.c_str());
    MsiProcessMessage(m_session, INSTALLMESSAGE_INFO, record);
}

void InstallerSession::Warn(const std::wstring& text) const {
    const UniqueHandle<MsiHandleTraits> held(MsiCreateRecord(1));
    const MSIHANDLE record = held.Get();
    if (!record) return;
    MsiRecordSetStringW(record, 0, L"[1]");
    MsiRecordSetStringW(record, 1, text.c_str());
    // Shown with an OK button where there is a user interface; logged either way.
    MsiProcessMessage(m_session, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_WARNING | MB_OK | MB_ICONWARNING),
                      record);
    Log(text);
}
