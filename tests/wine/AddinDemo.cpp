// make demo: the PowerPoint stand-in opens a deck and loads the registered
// add-in; the "Vellumark 5.0" button is clicked; the Convert dialog, driven
// from a second thread as a user would, converts the deck into the output
// folder; the Finish dialog is awaited. Screenshots go beside the PDF.
// Usage: AddinDemo <deck> <output folder>; prints the PDF's path.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <thread>

#include "ConvertDialogDriver.h"
#include "DialogThread.h"
#include "MessagePump.h"
#include "StandInButton.h"
#include "StandInCommandBar.h"
#include "StandInCommandBars.h"
#include "StandInHost.h"
#include "WindowShot.h"
#include "resource.h"

namespace {

// Runs the dialog as a user would; returns the produced file's name, or empty.
std::wstring DriveConvertDialog(DWORD uiThread, const std::wstring& outputFolder) {
    ConvertDialogDriver dialog(uiThread);
    if (!dialog.Dialog()) return {};
    dialog.SetText(IDC_OUTPUT_FOLDER, outputFolder);
    dialog.Click(IDOK);
    // The picture shows the status line running its dots.
    WaitFor([&] { return dialog.Status().find(L"..") != std::wstring::npos; }, 10000);
    WindowShot::Save(dialog.Dialog(), "convert-dialog");
    HWND finish = dialog.WaitForFinish(10 * 60 * 1000);
    std::wstring produced;
    if (finish) {
        WindowShot::Save(finish, "finish-dialog");
        const auto files = ConvertDialogDriver::FinishFiles(finish);
        if (!files.empty()) produced = files.front();
        PostMessageW(finish, WM_COMMAND, IDCANCEL, 0);
        WaitFor([&] { return !IsWindow(finish); });
    }
    dialog.SysCommand(SC_CLOSE);
    return produced;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fwprintf(stderr, L"usage: AddinDemo <deck> <output folder>\n");
        return 2;
    }
    std::wstring outputFolder = argv[2];
    if (outputFolder.back() != L'\\') outputFolder += L'\\';
    if (FAILED(OleInitialize(nullptr))) return 1;
    std::wstring produced;
    {
        StandInOptions options;
        options.deck = argv[1];
        StandInHost host(options);
        auto& bars = host.Application().CommandBars();
        if (bars.Count() == 0 || bars.At(0).Count() == 0) {
            fwprintf(stderr, L"the add-in did not load\n");
            return 1;
        }
        HWND window = host.Window().Handle();
        MessagePump::PumpUntil([&] { return FindWindowExW(window, nullptr, L"Button", L"Vellumark 5.0"); }, 10000);
        WindowShot::Save(window, "powerpoint");
        std::thread user([&] { produced = DriveConvertDialog(GetWindowThreadProcessId(window, nullptr), outputFolder); });
        bars.At(0).At(0).Click();  // the Convert dialog runs modally here
        user.join();
    }
    OleUninitialize();
    if (produced.empty()) {
        fwprintf(stderr, L"no PDF was listed\n");
        return 1;
    }
    wprintf(L"%ls%ls\n", outputFolder.c_str(), produced.c_str());
    return 0;
}
