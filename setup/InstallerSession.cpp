#include "InstallerSession.h"

#include <vector>

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
    const MSIHANDLE record = MsiCreateRecord(1);
    if (!record) return;
    // Field 0 is a template; the line goes in field 1 so that brackets in it stay text.
    MsiRecordSetStringW(record, 0, L"Quillset: [1]");
    MsiRecordSetStringW(record, 1, line.c_str());
    MsiProcessMessage(m_session, INSTALLMESSAGE_INFO, record);
    MsiCloseHandle(record);
}
