#include "ConvertDialogSession.h"

#include <ole2.h>

#include <cstdio>

#include "StandInHost.h"
#include "resource.h"

ConvertDialogSession::ConvertDialogSession(const std::wstring& presentationPath, StandInOptions standIn,
                                           std::function<void()> onEnd) {
    m_dialog.m_strPresentationPath = presentationPath;
    standIn.loadAddins = false;
    m_thread = std::make_unique<DialogThread>([this, standIn, onEnd] {
        OleInitialize(nullptr);
        {
            StandInHost host(standIn);
            m_dialog.DoModal();
            if (onEnd) onEnd();
        }
        OleUninitialize();
    });
    WaitFor([this] { return m_thread->ThreadId() != 0; });
    m_driver = std::make_unique<ConvertDialogDriver>(m_thread->ThreadId());
}

ConvertDialogSession::~ConvertDialogSession() {
    if (Close()) return;
    std::fputs("The Convert dialog did not end: stopping the test program.\n", stderr);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
}

bool ConvertDialogSession::Close() {
    const DWORD threadId = m_thread->ThreadId();
    for (int round = 0; round < 3 && m_driver->IsOpen(); ++round) {
        // A run still going ends first, and its Finish dialog is closed.
        WaitFor(
            [&] {
                if (HWND finish = ConvertDialogDriver::FindDialog(threadId, IDC_FINISH_FILES))
                    PostMessageW(finish, WM_COMMAND, IDCANCEL, 0);
                return m_dialog.m_bConverting == 0;
            },
            120000);
        m_driver->SysCommand(SC_CLOSE);
        WaitFor([this] { return !m_driver->IsOpen(); });
    }
    return m_thread->WaitForEnd();
}
