#pragma once
// The Windows Installer's side of a custom action: the data the package hands a
// deferred action, and the installer's log.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>

class InstallerSession {
public:
    explicit InstallerSession(MSIHANDLE session) : m_session(session) {}

    // A deferred action's CustomActionData (here: the installation folder).
    std::wstring ActionData() const;
    // One line in the installer's log (msiexec /l*v).
    void Log(const std::wstring& line) const;
    // A message for whoever installs: a box in an interactive installation,
    // nothing shown in a silent one; in the log both ways.
    void Warn(const std::wstring& text) const;

private:
    void Send(INSTALLMESSAGE kind, const wchar_t* format, const std::wstring& text) const;
    MSIHANDLE m_session;
};
