#include "UnixShell.h"

#include <windows.h>

#include "ModulePath.h"
#include "UnixChild.h"

UnixResult UnixShell::Run(const std::string& command) {
    UnixResult result;
    const std::wstring request = UnixChild::TempFile(L"sh");
    if (request.empty() || !UnixChild::WriteFile(request, command + "\n")) return result;
    result.status = UnixChild::Run(ModulePath::Folder() + L"\\unix-run", request);
    result.output = UnixChild::ReadFile(request + L".out");
    DeleteFileW((request + L".out").c_str());
    DeleteFileW(request.c_str());
    return result;
}

std::string UnixShell::QuoteText(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string UnixShell::Quote(const std::wstring& windowsPath) {
    return QuoteText(UnixChild::UnixPath(windowsPath));
}
