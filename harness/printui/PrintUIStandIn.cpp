// Plays printui.dll for the printer batch files, run by the system's own
// rundll32.exe: PrintUIEntry with the same switches (/dl /n NAME, /if /b NAME
// /f INF /r PORT /m MODEL, /q), checked as strictly, acting on the spooler. /if
// installs the printer with the driver named by /m, so a model whose driver the
// spooler lacks fails, as one missing from the inf does. A failure without /q
// shows an error box and waits for an answer, as printui does; an /if for a
// model listed in printui-hang.txt never ends. Each call is noted in printui.log
// with its outcome. Both files lie in the folder that QUILLSET_PRINTUI names.
// Tests put it in place of the prefix's printui.dll (PrinterInstallerStandIn).
#include <windows.h>

#include <shellapi.h>
#include <winspool.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

std::wstring Beside(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"QUILLSET_PRINTUI", folder, MAX_PATH);
    return length && length < MAX_PATH ? std::wstring(folder, length) + name : std::wstring(L"C:\\") + name;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}

void Note(const std::string& line) {
    std::ofstream(Narrow(Beside(L"printui.log")), std::ios::app | std::ios::binary) << line << "\n";
}

bool ListedToHang(const std::wstring& model) {
    std::ifstream list(Narrow(Beside(L"printui-hang.txt")));
    for (std::string line; std::getline(list, line);)
        if (!line.empty() && line == Narrow(model)) return true;
    return false;
}

struct Call {
    std::wstring operation;               // /dl or /if
    std::map<std::wstring, std::wstring> values;  // /n /b /f /r /m
    bool quiet = false;
    std::string error;                    // a call printui would refuse
};

// argv[0] stands for rundll32's own part of the command line.
Call Parse(int argc, wchar_t** argv) {
    Call call;
    for (int i = 1; i < argc; ++i) {
        const std::wstring item = argv[i];
        if (item == L"/dl" || item == L"/if") {
            if (!call.operation.empty()) call.error = "two operations";
            call.operation = item;
        } else if (item == L"/q") {
            call.quiet = true;
        } else if ((item == L"/n" || item == L"/b" || item == L"/f" || item == L"/r" || item == L"/m") && i + 1 < argc) {
            call.values[item] = argv[++i];
        } else {
            call.error = "unknown switch " + Narrow(item);
        }
    }
    if (call.error.empty() && call.operation.empty()) call.error = "no operation";
    return call;
}

bool DeleteNamed(const std::wstring& name) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (name.empty() || !OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, &access)) return false;
    const bool deleted = DeletePrinter(printer) != FALSE;
    ClosePrinter(printer);
    return deleted;
}

bool Install(Call& call) {
    for (const wchar_t* needed : {L"/b", L"/f", L"/r", L"/m"})
        if (call.values[needed].empty()) return false;
    PRINTER_INFO_2W info = {};
    info.pPrinterName = call.values[L"/b"].data();
    info.pPortName = call.values[L"/r"].data();
    info.pDriverName = call.values[L"/m"].data();
    info.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
    info.pDatatype = const_cast<LPWSTR>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) return false;
    ClosePrinter(printer);
    return true;
}

std::string Logged(int argc, wchar_t** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        const std::string item = Narrow(argv[i]);
        line += (i > 1 ? " " : "") + (item.find(' ') == std::string::npos ? item : "\"" + item + "\"");
    }
    return line;
}

void Fail(const Call& call, const std::string& line, const wchar_t* text) {
    Note(line + (call.quiet && call.error.empty() ? " => failed quietly" : " => error box"));
    // printui's own usage and error boxes wait for whoever is there to see them.
    if (!call.quiet || !call.error.empty())
        MessageBoxW(nullptr, text, L"Printer User Interface", MB_OK | MB_ICONERROR);
}

}  // namespace

extern "C" __declspec(dllexport) void CALLBACK PrintUIEntryW(HWND, HINSTANCE, LPCWSTR commandLine, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW((std::wstring(L"rundll32 ") + commandLine).c_str(), &argc);
    if (!argv) return;
    Call call = Parse(argc, argv);
    const std::string line = Logged(argc, argv);
    if (!call.error.empty()) {
        Fail(call, line, L"The arguments are invalid.");
    } else if (call.operation == L"/dl") {
        if (DeleteNamed(call.values[L"/n"]))
            Note(line + " => ok");
        else
            Fail(call, line, L"Unable to delete the printer.");
    } else if (ListedToHang(call.values[L"/m"])) {
        Note(line + " => hangs");
        Sleep(INFINITE);
    } else if (Install(call)) {
        Note(line + " => ok");
    } else {
        Fail(call, line, L"Unable to install the printer. The driver is not found.");
    }
    LocalFree(argv);
}
