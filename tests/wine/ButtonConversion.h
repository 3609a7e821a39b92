#pragma once
// The road a user takes: a click on the add-in's button in the PowerPoint
// stand-in, hosted on this thread, opens the Convert dialog modally here; a
// second thread fills it in, presses "Convert", waits for the Finish dialog
// and closes both, as the user would.
#include <windows.h>

#include <functional>
#include <string>

#include "DialogOptions.h"

class ConvertDialogDriver;
class StandInButton;
class StandInHost;

class ButtonConversion {
public:
    // An empty `outputFolder` keeps the folder the dialog proposes.
    ButtonConversion(std::wstring outputFolder, DialogOptions options)
        : m_outputFolder(std::move(outputFolder)), m_options(std::move(options)) {}

    // Called on the driving thread right after "Convert" was pressed, and with the Finish dialog.
    std::function<void(const ConvertDialogDriver&)> afterConvert;
    std::function<void(HWND)> onFinish;
    // Polled on the driving thread while the run is awaited: true stops waiting for
    // the Finish dialog (a message box told the run failed) and closes the dialog
    // once its job has ended.
    std::function<bool()> giveUp;

    // The add-in's button once the host shows it; null when the add-in did not load.
    static StandInButton* LoadedButton(StandInHost& host);
    // The add-in's large button on the host's ribbon; null when there is none.
    static HWND LoadedRibbonButton(StandInHost& host);
    // The ribbon button used as a user uses it: clicked, or its key tip typed
    // after Alt (Alt, H for the Home tab, then the tip's letters).
    static void ClickRibbonButton(HWND button);
    static void TypeKeyTip(HWND powerPoint, const std::wstring& keys);

    // Returns the file the Finish dialog lists, or empty when the run produced
    // none (or the options could not be set).
    std::wstring Run(StandInButton& button);
    // The same through `click`, which opens the dialog modally on this thread.
    std::wstring Run(const std::function<void()>& click);

private:
    std::wstring Drive(DWORD uiThread) const;
    HWND AwaitFinish(const ConvertDialogDriver& dialog) const;
    bool GaveUp() const { return giveUp && giveUp(); }

    std::wstring m_outputFolder;
    DialogOptions m_options;
};
