#pragma once
// A Convert dialog run modally on a thread of its own that also hosts the
// PowerPoint stand-in, as PowerPoint's user-interface thread runs both. A
// dialog that does not end in time fails the test program at once rather than
// letting it hang.
#include <functional>
#include <memory>
#include <string>

#include "ConvertDialogDriver.h"
#include "ConvertDlg.h"
#include "DialogThread.h"
#include "StandInOptions.h"

class ConvertDialogSession {
public:
    // `onEnd` runs on the dialog's thread as soon as its modal loop has returned.
    ConvertDialogSession(const std::wstring& presentationPath, StandInOptions standIn,
                         std::function<void()> onEnd = {});
    ~ConvertDialogSession();
    ConvertDialogSession(const ConvertDialogSession&) = delete;
    ConvertDialogSession& operator=(const ConvertDialogSession&) = delete;

    CConvertDlg& Dialog() { return m_dialog; }
    ConvertDialogDriver& Driver() { return *m_driver; }
    // Waits for the run to end, closes a Finish dialog, then the Convert dialog.
    // True when the dialog ended within the bounds.
    bool Close();

private:
    CConvertDlg m_dialog;
    std::unique_ptr<DialogThread> m_thread;
    std::unique_ptr<ConvertDialogDriver> m_driver;
};
