#pragma once
// COM (single-threaded apartment) for the calling thread while this lives;
// undone only when this set it up, so a thread that had COM keeps it.
#include <windows.h>
#include <objbase.h>

class ComApartment {
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_result)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // A thread already in the multithreaded apartment, for example.
    bool Failed() const { return FAILED(m_result); }

private:
    HRESULT m_result;
};
