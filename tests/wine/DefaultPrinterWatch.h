#pragma once
// Records every change of the user's default printer while it lives: the
// spooler keeps it in HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows
// "Device" ("name,driver,port"), watched with RegNotifyChangeKeyValue, so a
// switch that is undone before the end is still seen.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "UniqueHandle.h"

class DefaultPrinterWatch {
public:
    // Returns once the watch is armed.
    DefaultPrinterWatch();
    ~DefaultPrinterWatch();
    DefaultPrinterWatch(const DefaultPrinterWatch&) = delete;
    DefaultPrinterWatch& operator=(const DefaultPrinterWatch&) = delete;

    // False when the key cannot be watched: then no change is ever seen.
    bool Watching() const { return m_watching; }
    // The printer named after each change of the key, in order ("" when none).
    std::vector<std::wstring> Changes() const;

private:
    void Watch();
    static std::wstring Current();

    UniqueKernelHandle m_armed;
    UniqueKernelHandle m_stop;
    std::atomic<bool> m_watching{false};
    mutable std::mutex m_mutex;
    std::vector<std::wstring> m_changes;
    std::thread m_thread;
};
