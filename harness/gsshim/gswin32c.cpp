// Stand-in for Ghostscript's console interpreter gswin32c.exe, run under Wine.
// It logs the argument vector it was given (one line per run, gswin32c.log
// beside it), maps Windows paths to Unix paths, and has the Unix script
// gswin32c-run beside it run Debian's gs; it exits with gs's exit status.
// Built a second time as gswin64c.exe (QUILLSET_GS_PROGRAM), with its log and
// Unix half named after it, to play an installed current Ghostscript.
#include <windows.h>

#include <string>
#include <vector>

#include "UnixChild.h"

#ifndef QUILLSET_GS_PROGRAM
#define QUILLSET_GS_PROGRAM "gswin32c"
#endif

namespace {

const wchar_t kProgram[] = L"" QUILLSET_GS_PROGRAM;

std::wstring ExeFolder() {
    std::vector<wchar_t> buffer(32768);
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), length);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

bool IsDrivePath(const std::wstring& text) {
    return text.size() >= 3 && iswalpha(text[0]) && text[1] == L':' && text[2] == L'\\';
}

std::string MapArgument(const std::wstring& arg) {
    static const std::wstring outputSwitch = L"-sOutputFile=";
    if (arg.compare(0, outputSwitch.size(), outputSwitch) == 0 &&
        IsDrivePath(arg.substr(outputSwitch.size())))
        return UnixChild::Utf8(outputSwitch) + UnixChild::UnixPath(arg.substr(outputSwitch.size()));
    if (IsDrivePath(arg)) return UnixChild::UnixPath(arg);
    return UnixChild::Utf8(arg);
}

// Arguments separated by tabs; backslash, tab, CR and LF escaped.
std::string LogLine(int argc, wchar_t** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += '\t';
        for (char c : UnixChild::Utf8(argv[i])) {
            switch (c) {
                case '\\':
                    line += "\\\\";
                    break;
                case '\t':
                    line += "\\t";
                    break;
                case '\r':
                    line += "\\r";
                    break;
                case '\n':
                    line += "\\n";
                    break;
                default:
                    line += c;
            }
        }
    }
    return line + "\n";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring folder = ExeFolder();
    UnixChild::WriteFile(folder + kProgram + L".log", LogLine(argc, argv), true);

    const std::wstring request = UnixChild::TempFile(L"gsa");
    std::string args;
    for (int i = 1; i < argc; ++i) args += MapArgument(argv[i]) + '\0';
    if (request.empty() || !UnixChild::WriteFile(request, args)) return 254;

    int status = UnixChild::Run(folder + kProgram + L"-run", request);
    DeleteFileW(request.c_str());
    return status < 0 ? 253 : status;
}
