// bench/run's driver: the PowerPoint stand-in opens a deck and loads the
// registered add-in; RUNS times the "Vellumark 5.0" button is clicked and the
// Convert dialog converts the deck with default options into OUTPUT, whose
// earlier PDF is deleted first (no replace prompt). Per run it prints
//   bench-run <ms from the Convert click to the complete PDF> <ms to "Over!"> <ms to the Finish dialog>
// Usage: BenchDriver <deck> <output folder> <runs>
#include <windows.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <thread>

#include "ConvertDialogDriver.h"
#include "DialogThread.h"
#include "MessageBoxWatcher.h"
#include "MessagePump.h"
#include "OutputNaming.h"
#include "StandInButton.h"
#include "StandInCommandBar.h"
#include "StandInCommandBars.h"
#include "StandInHost.h"
#include "resource.h"

namespace {

const DWORD kRunTimeoutMs = 20 * 60 * 1000;
// The Finish dialog opens one second after "Over!".
const DWORD kFinishTimeoutMs = 10 * 1000;

struct RunTimes {
    long long pdfMs = -1;
    long long overMs = -1;
    long long finishMs = -1;
};

long long MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

// The Finish dialog's Cancel ends the run; until then the dialog refuses to close.
void CloseDialogs(const ConvertDialogDriver& dialog, HWND finish) {
    if (finish) {
        PostMessageW(finish, WM_COMMAND, IDCANCEL, 0);
        WaitFor([&] { return !IsWindow(finish); });
    }
    for (int tries = 0; tries < 10 && dialog.IsOpen(); ++tries) {
        dialog.SysCommand(SC_CLOSE);
        WaitFor([&] { return !dialog.IsOpen(); }, 1000);
    }
}

// pdfwrite writes "%%EOF" last, just before it closes the file.
bool PdfComplete(const std::wstring& pdf) {
    HANDLE file = CreateFileW(pdf.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char tail[16] = {};
    DWORD got = 0;
    LARGE_INTEGER back;
    back.QuadPart = -static_cast<LONGLONG>(sizeof tail);
    const bool read = SetFilePointerEx(file, back, nullptr, FILE_END) && ReadFile(file, tail, sizeof tail, &got, nullptr);
    CloseHandle(file);
    return read && std::string(tail, got).find("%%EOF") != std::string::npos;
}

// Drives one Convert dialog as a user would, timing from the posted click:
// the PDF is complete some time before the job's end ("Over!"), which the
// job paces for the dialog.
RunTimes TimeConversion(DWORD uiThread, const std::wstring& outputFolder, const std::wstring& pdf) {
    ConvertDialogDriver dialog(uiThread);
    RunTimes times;
    if (!dialog.Dialog()) return times;
    dialog.SetText(IDC_OUTPUT_FOLDER, outputFolder);
    const auto start = std::chrono::steady_clock::now();
    dialog.Click(IDOK);
    const bool over = WaitFor(
        [&] {
            if (times.pdfMs < 0 && PdfComplete(pdf)) times.pdfMs = MsSince(start);
            return dialog.Status() == L"Over!";
        },
        kRunTimeoutMs);
    if (over) times.overMs = MsSince(start);
    HWND finish = dialog.WaitForFinish(kFinishTimeoutMs);
    const long long finishMs = MsSince(start);
    if (finish && !ConvertDialogDriver::FinishFiles(finish).empty()) times.finishMs = finishMs;
    CloseDialogs(dialog, finish);
    return times;
}

RunTimes ClickAndTime(StandInHost& host, const std::wstring& outputFolder, const std::wstring& pdf) {
    const DWORD uiThread = GetWindowThreadProcessId(host.Window().Handle(), nullptr);
    RunTimes times;
    std::thread user([&] { times = TimeConversion(uiThread, outputFolder, pdf); });
    host.Application().CommandBars().At(0).At(0).Click();  // the Convert dialog runs modally here
    user.join();
    return times;
}

bool AddinLoaded(StandInHost& host) {
    auto& bars = host.Application().CommandBars();
    if (bars.Count() == 0 || bars.At(0).Count() == 0) return false;
    HWND window = host.Window().Handle();
    return MessagePump::PumpUntil([&] { return FindWindowExW(window, nullptr, L"Button", L"Vellumark 5.0"); },
                                  10000);
}

void ReportMessageBoxes(const MessageBoxWatcher& boxes) {
    for (const auto& box : boxes.Seen()) fwprintf(stderr, L"message box: %ls\n", box.text.c_str());
}

int RunAll(const std::wstring& deck, const std::wstring& outputFolder, int runs) {
    MessageBoxWatcher boxes;
    StandInOptions options;
    options.deck = deck;
    StandInHost host(options);
    if (!AddinLoaded(host)) {
        fwprintf(stderr, L"the add-in did not load\n");
        return 1;
    }
    const std::wstring pdf = outputFolder + OutputNaming::OutputFileName(deck);
    for (int run = 1; run <= runs; ++run) {
        DeleteFileW(pdf.c_str());
        const RunTimes times = ClickAndTime(host, outputFolder, pdf);
        if (times.pdfMs < 0 || times.overMs < 0 || times.finishMs < 0) {
            fwprintf(stderr, L"run %d made no PDF\n", run);
            ReportMessageBoxes(boxes);
            return 1;
        }
        printf("bench-run %lld %lld %lld\n", times.pdfMs, times.overMs, times.finishMs);
        fflush(stdout);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc == 4 ? _wtoi(argv[3]) : 0;
    if (runs <= 0) {
        fwprintf(stderr, L"usage: BenchDriver <deck> <output folder> <runs>\n");
        return 2;
    }
    std::wstring outputFolder = argv[2];
    if (outputFolder.back() != L'\\') outputFolder += L'\\';
    if (FAILED(OleInitialize(nullptr))) return 1;
    const int status = RunAll(argv[1], outputFolder, runs);
    OleUninitialize();
    return status;
}
