#pragma once
// Per-user registration: while alive, HKEY_CLASSES_ROOT in this process means
// HKCU\Software\Classes, so that what the system's own registration code writes
// (proxy/stub, type library) stays with the user instead of going to HKLM.
#include <windows.h>

#include "UniqueHandle.h"

class ClassesRootOverride {
public:
    explicit ClassesRootOverride(bool active);
    ~ClassesRootOverride();
    ClassesRootOverride(const ClassesRootOverride&) = delete;
    ClassesRootOverride& operator=(const ClassesRootOverride&) = delete;

    // S_OK when inactive or in force; otherwise registration must not go on.
    HRESULT Status() const { return m_status; }

private:
    UniqueRegistryKey m_classes;
    bool m_overridden = false;
    HRESULT m_status = S_OK;
};
