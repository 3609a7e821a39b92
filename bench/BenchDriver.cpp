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

#include "ButtonConversion.h"
#include "ConvertDialogDriver.h"
#include "DialogThread.h"
#include "MessageBoxWatcher.h"
#include "OutputNaming.h"
#include "StandInHost.h"

namespace {

const DWORD kRunTimeoutMs = 20 * 60 * 1000;

struct RunTimes {
    long long pdfMs = -1;
    long long overMs = -1;
    long long finishMs = -1;
};

long long MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
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

// One conversion through the button with default options, timed from the
// Convert click: the PDF is complete some time before the job's end ("Over!"),
// which the job paces for the dialog, and the Finish dialog follows.
RunTimes ClickAndTime(StandInButton& button, const std::wstring& outputFolder, const std::wstring& pdf) {
    RunTimes times;
    std::chrono::steady_clock::time_point start;
    ButtonConversion conversion(outputFolder, {});
    conversion.afterConvert = [&](const ConvertDialogDriver& dialog) {
        start = std::chrono::steady_clock::now();  // the click was posted: it is handled after this
        const bool over = WaitFor(
            [&] {
                if (times.pdfMs < 0 && PdfComplete(pdf)) times.pdfMs = MsSince(start);
                return dialog.Status() == L"Over!";
            },
            kRunTimeoutMs);
        if (over) times.overMs = MsSince(start);
    };
    conversion.onFinish = [&](HWND) { times.finishMs = MsSince(start); };
    if (conversion.Run(button).empty()) times.finishMs = -1;
    return times;
}

void ReportMessageBoxes(const MessageBoxWatcher& boxes) {
    for (const auto& box : boxes.Seen()) fwprintf(stderr, L"message box: %ls\n", box.text.c_str());
}

int RunAll(const std::wstring& deck, const std::wstring& outputFolder, int runs) {
    MessageBoxWatcher boxes;
    StandInOptions options;
    options.deck = deck;
    StandInHost host(options);
    StandInButton* button = ButtonConversion::LoadedButton(host);
    if (!button) {
        fwprintf(stderr, L"the add-in did not load\n");
        return 1;
    }
    const std::wstring pdf = outputFolder + OutputNaming::OutputFileName(deck);
    for (int run = 1; run <= runs; ++run) {
        DeleteFileW(pdf.c_str());
        const RunTimes times = ClickAndTime(*button, outputFolder, pdf);
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
