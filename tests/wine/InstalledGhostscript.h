#pragma once
// A Ghostscript registered as its official installer registers it:
// HKLM\SOFTWARE\<publisher>\<version> with GS_DLL naming the DLL in the bin
// folder, in one registry view. Either the working stand-in of a current
// release (gswin64c.exe, which hands Debian's gs its arguments unchanged) or
// empty files in its place. The registration goes when this does.
#include <windows.h>

#include <string>

struct GhostscriptInstall {
    std::wstring version = L"10.00.0";
    std::wstring folder;  // empty: C:\Program Files\gs\gs<version>\bin\, as the installer puts it
    std::wstring publisher = L"GPL Ghostscript";
    REGSAM view = KEY_WOW64_64KEY;
    std::wstring console = L"gswin64c";  // the console interpreter's name; empty for none
    bool standIn = true;                 // false: empty files only (the stand-in is a gswin64c)
    bool dll = true;                     // false: GS_DLL names a missing file
};

class InstalledGhostscript {
public:
    explicit InstalledGhostscript(const GhostscriptInstall& install = {});
    ~InstalledGhostscript();
    InstalledGhostscript(const InstalledGhostscript&) = delete;
    InstalledGhostscript& operator=(const InstalledGhostscript&) = delete;

    // True when the files and the registry entry are in place.
    bool Ready() const { return m_ready; }
    // The bin folder, with a trailing backslash.
    const std::wstring& Folder() const { return m_install.folder; }
    // Runs of the stand-in so far, one argument vector per line.
    std::string Log() const;

private:
    bool PutFiles() const;
    bool Register() const;
    std::wstring Key() const;

    GhostscriptInstall m_install;
    bool m_ready = false;
};
