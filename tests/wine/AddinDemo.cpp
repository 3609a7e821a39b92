// make demo: the PowerPoint stand-in opens a deck and loads the registered
// add-in; the "Vellumark 5.0" button on the ribbon (or, with QUILLSET_RIBBON=off,
// in a PowerPoint without one, on the toolbar) is clicked; the Convert dialog, driven
// from a second thread as a user would, converts the deck into the output
// folder with the options given; the Finish dialog is awaited. Screenshots go
// beside the PDF. A message box ends the demo: it is printed ("message box
// CAPTION: TEXT", further lines indented), closed, and the exit code is 3.
// Usage: AddinDemo <deck> <output folder> [name=value ...]; prints the PDF's path.
#include <windows.h>
#include <ole2.h>

#include <cstdio>

#include "ButtonConversion.h"
#include "ConvertDialogDriver.h"
#include "DialogThread.h"
#include "DialogOptions.h"
#include "MessageBoxWatcher.h"
#include "StandInHost.h"
#include "WindowShot.h"

namespace {

const int kMessageBoxShown = 3;

// PowerPoint 2007 and later, whose users click the ribbon's button; with
// QUILLSET_RIBBON=off an older one, whose users click the toolbar's.
bool Ribbon() {
    wchar_t value[8] = {};
    GetEnvironmentVariableW(L"QUILLSET_RIBBON", value, 8);
    return _wcsicmp(value, L"off") != 0;
}

void PrintMessageBoxes(const MessageBoxWatcher& boxes) {
    for (const auto& box : boxes.Seen()) {
        std::wstring text;
        for (wchar_t c : box.text) {
            if (c == L'\r') continue;
            text += c;
            if (c == L'\n') text += L"    ";
        }
        fwprintf(stderr, L"message box %ls: %ls\n", box.caption.c_str(), text.c_str());
    }
    fflush(stderr);
}

std::wstring Convert(const std::wstring& deck, const std::wstring& outputFolder, const DialogOptions& options,
                     const MessageBoxWatcher& boxes) {
    StandInOptions standIn;
    standIn.deck = deck;
    standIn.ribbon = Ribbon();
    StandInHost host(standIn);
    StandInButton* button = ButtonConversion::LoadedButton(host);
    HWND ribbonButton = ButtonConversion::LoadedRibbonButton(host);
    if (!button || (standIn.ribbon && !ribbonButton)) {
        fwprintf(stderr, L"the add-in did not load\n");
        return {};
    }
    WindowShot::Save(host.Window().Handle(), "powerpoint");
    ButtonConversion conversion(outputFolder, options);
    conversion.giveUp = [&] { return !boxes.Seen().empty(); };
    conversion.afterConvert = [&](const ConvertDialogDriver& dialog) {
        // The picture shows the status line of a run in progress; a short deck may be
        // done before the first dots.
        const auto running = [&] { return dialog.Status().rfind(L"Begin Convert", 0) == 0; };
        if (WaitFor([&] { return running() || conversion.giveUp(); }) && running())
            WindowShot::Save(dialog.Dialog(), "convert-dialog");
    };
    conversion.onFinish = [](HWND finish) { WindowShot::Save(finish, "finish-dialog"); };
    if (!standIn.ribbon) return conversion.Run(*button);
    return conversion.Run([&] { ButtonConversion::ClickRibbonButton(ribbonButton); });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    DialogOptions options;
    for (int i = 3; i < argc; ++i) {
        if (!options.Add(argv[i])) {
            fwprintf(stderr, L"unknown option \"%ls\"\n", argv[i]);
            return 2;
        }
    }
    if (argc < 3) {
        fwprintf(stderr, L"usage: AddinDemo <deck> <output folder> [name=value ...]\n");
        return 2;
    }
    std::wstring outputFolder = argv[2];
    if (outputFolder.back() != L'\\') outputFolder += L'\\';
    if (FAILED(OleInitialize(nullptr))) return 1;
    std::wstring produced;
    {
        // Cancel closes any box: OK-only ones, and Yes/No ones without a yes.
        MessageBoxWatcher boxes(IDCANCEL);
        produced = Convert(argv[1], outputFolder, options, boxes);
        if (!boxes.Seen().empty()) {
            PrintMessageBoxes(boxes);
            OleUninitialize();
            return kMessageBoxShown;
        }
    }
    OleUninitialize();
    if (produced.empty()) {
        fwprintf(stderr, L"no PDF was listed\n");
        return 1;
    }
    wprintf(L"%ls%ls\n", outputFolder.c_str(), produced.c_str());
    return 0;
}
