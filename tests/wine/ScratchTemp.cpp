#include "ScratchTemp.h"

#include <windows.h>

#include <algorithm>

#include "TestFiles.h"
#include "UniqueHandle.h"

namespace {

std::wstring Variable(const wchar_t* name) {
    wchar_t value[32768];
    const DWORD length = GetEnvironmentVariableW(name, value, 32768);
    return length > 0 && length < 32768 ? std::wstring(value, length) : std::wstring();
}

void Restore(const wchar_t* name, const std::wstring& value) {
    SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
}

}  // namespace

ScratchTemp::ScratchTemp(const std::wstring& name)
    : m_folder(TestFiles::NewFolder(name)),
      m_savedTmp(Variable(L"TMP")),
      m_savedTemp(Variable(L"TEMP")),
      m_rootOfC(Names(L"C:\\")) {
    const std::wstring folder = m_folder.substr(0, m_folder.size() - 1);
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    SetEnvironmentVariableW(L"TEMP", folder.c_str());
}

ScratchTemp::~ScratchTemp() {
    Restore(L"TMP", m_savedTmp);
    Restore(L"TEMP", m_savedTemp);
}

std::vector<std::wstring> ScratchTemp::Left() const {
    return Names(m_folder);
}

std::vector<std::wstring> ScratchTemp::NewAtRootOfC() const {
    std::vector<std::wstring> added;
    for (const std::wstring& name : Names(L"C:\\"))
        if (std::find(m_rootOfC.begin(), m_rootOfC.end(), name) == m_rootOfC.end()) added.push_back(name);
    return added;
}

std::vector<std::wstring> ScratchTemp::Names(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    UniqueFindHandle search(FindFirstFileW((folder + L"*").c_str(), &entry));
    if (!search) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search.Get(), &entry));
    return names;
}
