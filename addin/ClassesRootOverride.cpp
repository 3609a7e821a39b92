#include "ClassesRootOverride.h"

ClassesRootOverride::ClassesRootOverride(bool active) {
    if (!active) return;
    HKEY classes = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS,
                                     nullptr, &classes, nullptr);
    m_classes.Reset(status == ERROR_SUCCESS ? classes : nullptr);
    if (status == ERROR_SUCCESS) status = RegOverridePredefKey(HKEY_CLASSES_ROOT, m_classes.Get());
    m_overridden = status == ERROR_SUCCESS;
    m_status = HRESULT_FROM_WIN32(status);
}

ClassesRootOverride::~ClassesRootOverride() {
    if (m_overridden) RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
}
