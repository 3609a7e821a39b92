#pragma once
// Answers the message boxes that code under test shows, from a thread of its
// own, and records their captions, texts, buttons, icons and owners.
#include <windows.h>

#include <atomic>
#include <functional>
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
    std::wstring noted;  // what the watcher's note said as the box was seen
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
    // Asked on the watcher's thread as each box is first seen, before it is
    // answered (say, for the default printer then).
    void SetNote(std::function<std::wstring()> note) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_note = std::move(note);
    }
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
    std::function<std::wstring()> m_note;
    std::thread m_thread;
};
