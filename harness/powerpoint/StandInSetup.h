#pragma once
// Prepares a Wine prefix for the stand-in: registers it as the local server of
// "PowerPoint.Application" and, as PowerPoint's installer does, under App Paths
// (where the set-up finds PowerPoint's bitness), and installs the printers a
// user would have.
#include <string>

class StandInSetup {
public:
    static const wchar_t* const kUserPrinter;  // the user's own default printer

    static bool RegisterServer(const std::wstring& exePath);
    static bool UnregisterServer();
    // Installs "Inkharbor" (PostScript, port FILE:) and the user's printer,
    // which becomes the default. `ppd` describes the PostScript device.
    static bool InstallPrinters(const std::wstring& ppd);

private:
    static bool SetValue(const std::wstring& key, const std::wstring& value);
    static bool InstallPrinter(const std::wstring& name, const std::wstring& driver);
};
