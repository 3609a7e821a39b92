#pragma once
// The worker thread of one conversion started from the Convert dialog. It owns
// a copy of the options, touches no member of the dialog and reports to its
// window through posted messages, which are lost harmlessly when the window is
// gone; its message boxes belong to that window. It keeps the library loaded (a
// module lock and a reference of its own) until it exits.
#include <windows.h>

#include "ConversionOptions.h"
#include "UniqueHandle.h"

class ConversionWorker {
public:
    // Posted to the dialog: the run is ending (stop the animation), then its
    // outcome (wParam non-zero when the PDF was produced).
    static const UINT kRunEndingMessage = WM_APP + 0x51;
    static const UINT kRunEndedMessage = WM_APP + 0x52;
    // The run starts (wParam non-zero) or stops waiting for another of the
    // user's conversions to give up the printer; the dialog's `cancel` event
    // ends such a wait, and the run then ends without a report.
    static const UINT kRunWaitingMessage = WM_APP + 0x53;

    // The thread's handle, signalled once it has exited; empty when no thread
    // could be started (nothing was run or reported).
    static UniqueKernelHandle Start(const ConversionOptions& options, HWND dialog, HANDLE cancel);

private:
    ConversionWorker(const ConversionOptions& options, HWND dialog) : m_options(options), m_dialog(dialog) {}

    static DWORD WINAPI ConversionThreadProc(LPVOID worker);
    bool RunConversion() const;
    void Report(bool produced) const;

    ConversionOptions m_options;
    HWND m_dialog;
    UniqueKernelHandle m_cancel;  // its own, as the dialog may go first
    UniqueLibrary m_library;
};
