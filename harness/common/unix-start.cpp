// unix-start.exe "unix program" ARGS...: starts a Unix program and ends at once.
// Wine 8.0 hands back garbage process and thread handles when a Windows program
// starts a Unix one, and resumes the garbage thread handle itself: whatever
// handle of the caller's that value happens to name is closed or resumed. Done
// here, in a process of its own that holds nothing and ends, it harms nobody.
// The handles are never touched; the exit code says only whether it started.
#include <windows.h>

namespace {

// The command line after this program's own name (quoted or not).
wchar_t* Rest(wchar_t* line) {
    const bool quoted = *line == L'"';
    if (quoted) ++line;
    while (*line && (quoted ? *line != L'"' : *line != L' ' && *line != L'\t')) ++line;
    if (quoted && *line) ++line;
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

}  // namespace

int main() {
    wchar_t* commandLine = Rest(GetCommandLineW());
    if (!*commandLine) return 2;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    return CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)
               ? 0
               : 1;
}
