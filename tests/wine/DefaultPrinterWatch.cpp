#include "DefaultPrinterWatch.h"

namespace {
const wchar_t kWindowsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
}  // namespace

DefaultPrinterWatch::DefaultPrinterWatch()
    : m_armed(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_stop(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_thread([this] { Watch(); }) {
    WaitForSingleObject(m_armed.Get(), INFINITE);
}

DefaultPrinterWatch::~DefaultPrinterWatch() {
    SetEvent(m_stop.Get());
    m_thread.join();
}

std::vector<std::wstring> DefaultPrinterWatch::Changes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_changes;
}

// Arms the notification on this thread, which outlives it, and re-arms it
// before reading the value, so that no change falls between two waits.
void DefaultPrinterWatch::Watch() {
    UniqueRegistryKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kWindowsKey, 0, nullptr, 0, KEY_NOTIFY | KEY_QUERY_VALUE, nullptr, key.Put(),
                    nullptr);
    UniqueKernelHandle changed(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    bool armed = key && RegNotifyChangeKeyValue(key.Get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed.Get(),
                                                TRUE) == ERROR_SUCCESS;
    m_watching = armed;
    SetEvent(m_armed.Get());
    const HANDLE events[] = {m_stop.Get(), changed.Get()};
    while (armed && WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        armed = RegNotifyChangeKeyValue(key.Get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed.Get(), TRUE) ==
                ERROR_SUCCESS;
        const std::wstring printer = Current();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_changes.push_back(printer);
    }
}

std::wstring DefaultPrinterWatch::Current() {
    wchar_t device[512] = {};
    DWORD size = sizeof(device);
    if (RegGetValueW(HKEY_CURRENT_USER, kWindowsKey, L"Device", RRF_RT_REG_SZ, nullptr, device, &size) !=
        ERROR_SUCCESS)
        return {};
    const std::wstring value = device;
    return value.substr(0, value.find(L','));
}
