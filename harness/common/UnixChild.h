#pragma once
// Runs a Unix script from a Windows program under Wine and waits for it.
// Wine starts a Unix executable through CreateProcess but hands back no process
// handle, so the script reports its exit status in "<request file>.status"
// (written under another name and renamed into place), which this waits for.
// The script is started through unix-start.exe, which lies beside it: see there.
#include <string>

class UnixChild {
public:
    // Starts `script` (a Windows path) with the Unix path of `requestFile` as its
    // only argument; returns the script's exit status, or -1 if it did not start.
    static int Run(const std::wstring& script, const std::wstring& requestFile);

    static std::string UnixPath(const std::wstring& windowsPath);
    static std::string Utf8(const std::wstring& text);
    static std::wstring Wide(const std::string& text);
    // A fresh, empty file in the temporary folder.
    static std::wstring TempFile(const wchar_t* prefix);
    static bool WriteFile(const std::wstring& path, const std::string& bytes, bool append = false);
    static std::string ReadFile(const std::wstring& path);

private:
    // The starter that Run uses for `script`: unix-start.exe in its folder.
    static std::wstring Starter(const std::wstring& script);
    static constexpr const wchar_t* kStarter = L"unix-start.exe";
    static bool Start(const std::wstring& script, const std::wstring& requestFile);
};
