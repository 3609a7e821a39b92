// Stand-in for Ghostscript's console interpreter gswin32c.exe, run under Wine.
// Like Ghostscript 8.64, an ANSI program, it takes its arguments from
// GetCommandLineA (Windows' best-fit conversion of the caller's command line),
// split by the C runtime's rules. It logs them (one line per run in
// <program>.log beside it), the folder it was started in (<program>.cwd) and
// its TEMP (<program>.tmp), maps Windows paths to Unix paths, and has the Unix
// script <program>-run beside it run Debian's gs; it exits with gs's exit status.
// Built a second time as gswin64c.exe (QUILLSET_GS_PROGRAM), with its log and
// Unix half named after it, to play an installed current Ghostscript, which
// reads the wide command line.
#include <windows.h>

#include <string>
#include <vector>

#include "CrtArguments.h"
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

std::wstring CurrentFolder() {
    std::vector<wchar_t> buffer(32768);
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::wstring(buffer.data(), length);
}

std::wstring TempVariable() {
    std::vector<wchar_t> buffer(32768);
    DWORD length = GetEnvironmentVariableW(L"TEMP", buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length < buffer.size() ? length : 0);
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), length, nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), length, out.data(), size);
    return out;
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
    // An argument file, which Ghostscript reads as more arguments.
    if (!arg.empty() && arg[0] == L'@' && IsDrivePath(arg.substr(1))) return "@" + UnixChild::UnixPath(arg.substr(1));
    return UnixChild::Utf8(arg);
}

// Backslash, tab, CR and LF escaped.
std::string Escaped(const std::wstring& text) {
    std::string out;
    for (char c : UnixChild::Utf8(text)) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The arguments after the program, separated by tabs.
std::string LogLine(const std::vector<std::wstring>& argv) {
    std::string line;
    for (size_t i = 1; i < argv.size(); ++i) line += (i > 1 ? "\t" : "") + Escaped(argv[i]);
    return line + "\n";
}

// 8.64 is an ANSI program: Windows converts its command line with best-fit
// mapping. Later releases read the wide one. Both split it by the C runtime's rules.
std::vector<std::wstring> Arguments() {
    const bool ansi = std::wstring(kProgram) == L"gswin32c";
    const std::string line = ansi ? std::string(GetCommandLineA()) : UnixChild::Utf8(GetCommandLineW());
    std::vector<std::wstring> argv;
    for (const std::string& arg : CrtArguments::Split(line))
        argv.push_back(ansi ? FromAnsi(arg) : UnixChild::Wide(arg));
    return argv;
}

}  // namespace

int main() {
    const std::vector<std::wstring> argv = Arguments();
    const std::wstring folder = ExeFolder();
    UnixChild::WriteFile(folder + kProgram + L".log", LogLine(argv), true);
    UnixChild::WriteFile(folder + kProgram + L".cwd", Escaped(CurrentFolder()) + "\n", true);
    UnixChild::WriteFile(folder + kProgram + L".tmp", Escaped(TempVariable()) + "\n", true);

    const std::wstring request = UnixChild::TempFile(L"gsa");
    std::string args;
    for (size_t i = 1; i < argv.size(); ++i) args += MapArgument(argv[i]) + '\0';
    if (request.empty() || !UnixChild::WriteFile(request, args)) return 254;

    int status = UnixChild::Run(folder + kProgram + L"-run", request);
    DeleteFileW(request.c_str());
    return status < 0 ? 253 : status;
}
