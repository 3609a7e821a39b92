#include "InstalledGhostscript.h"

#include <shlobj.h>

#include "TestFiles.h"
#include "UniqueHandle.h"
#include "UnixShell.h"

namespace {

bool SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

InstalledGhostscript::InstalledGhostscript(const GhostscriptInstall& install) : m_install(install) {
    if (m_install.folder.empty()) m_install.folder = L"C:\\Program Files\\gs\\gs" + m_install.version + L"\\bin\\";
    m_ready = PutFiles() && Register();
}

InstalledGhostscript::~InstalledGhostscript() {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Key().c_str(), m_install.view, 0);
    // Fails while other versions are registered, as it should.
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, (L"SOFTWARE\\" + m_install.publisher).c_str(), m_install.view, 0);
}

std::string InstalledGhostscript::Log() const {
    return TestFiles::Read(m_install.folder + L"gswin64c.log");
}

bool InstalledGhostscript::PutFiles() const {
    const std::wstring& folder = m_install.folder;
    UnixShell::Run("rm -rf " + UnixShell::Quote(folder));
    if (SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr) != ERROR_SUCCESS) return false;
    if (m_install.dll && !TestFiles::Write(folder + L"gsdll64.dll", "")) return false;
    if (m_install.console.empty()) return true;
    const std::wstring console = folder + m_install.console + L".exe";
    if (!m_install.standIn) return TestFiles::Write(console, "");
    const std::wstring built = TestFiles::Built(L"harness\\gs-installed\\");
    const std::wstring runner = folder + L"gswin64c-run";
    return CopyFileW((built + L"gswin64c.exe").c_str(), console.c_str(), FALSE) &&
           CopyFileW((built + L"gswin64c-run").c_str(), runner.c_str(), FALSE) &&
           CopyFileW((built + L"unix-start.exe").c_str(), (folder + L"unix-start.exe").c_str(), FALSE) &&
           // CopyFileW drops the Unix half's execute bit.
           UnixShell::Run("chmod +x " + UnixShell::Quote(runner)).status == 0;
}

bool InstalledGhostscript::Register() const {
    UniqueRegistryKey key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Key().c_str(), 0, nullptr, 0, KEY_SET_VALUE | m_install.view, nullptr,
                        key.Put(), nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring root = m_install.folder.substr(0, m_install.folder.size() - 4);  // without "bin\"
    return SetString(key.Get(), L"GS_DLL", m_install.folder + L"gsdll64.dll") &&
           SetString(key.Get(), L"GS_LIB", root + L"lib;" + root + L"fonts;" + root + L"Resource\\Font");
}

std::wstring InstalledGhostscript::Key() const {
    return L"SOFTWARE\\" + m_install.publisher + L"\\" + m_install.version;
}
