#pragma once
// Answers the message boxes that code under test shows, from a thread of its
// own, and records their captions, texts, buttons, icons and owners.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenMessageBox {
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons;  // ids of the buttons shown, ascending (IDOK, IDCANCEL, IDYES, IDNO, ...)
    UINT icon = 0;             // MB_ICONERROR, MB_ICONWARNING, MB_ICONQUESTION, MB_ICONINFORMATION or 0
    HWND owner = nullptr;
};

class MessageBoxWatcher {
public:
    // `button`: the control id pressed in every box (IDOK, IDYES, IDNO, ...).
    // `anyProcess`: also the boxes of other programs (an installer's, say).
    explicit MessageBoxWatcher(int button = IDOK, bool anyProcess = false);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    void SetButton(int button) { m_button = button; }
    std::vector<SeenMessageBox> Seen() const;

private:
    void Watch();
    static BOOL CALLBACK OnWindow(HWND window, LPARAM self);
    void Answer(HWND box);
    static SeenMessageBox Read(HWND box);

    std::atomic<int> m_button;
    const bool m_anyProcess;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<SeenMessageBox> m_seen;
    std::vector<HWND> m_answered;
    std::thread m_thread;
};
