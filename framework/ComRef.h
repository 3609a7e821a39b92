#pragma once
// Owns one COM reference. Attach takes over a reference without adding one;
// construction from a raw pointer adds one.
#include <unknwn.h>

#include <utility>

template <typename T>
class ComRef {
public:
    ComRef() = default;
    ComRef(T* pointer) : m_pointer(pointer) {  // NOLINT: implicit like a raw pointer
        if (m_pointer) m_pointer->AddRef();
    }
    ComRef(const ComRef& other) : ComRef(other.m_pointer) {}
    ComRef(ComRef&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ~ComRef() { Reset(); }
    ComRef& operator=(ComRef other) noexcept {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    static ComRef Attach(T* pointer) {
        ComRef ref;
        ref.m_pointer = pointer;
        return ref;
    }
    T* Detach() { return std::exchange(m_pointer, nullptr); }
    void Reset() {
        if (T* old = std::exchange(m_pointer, nullptr)) old->Release();
    }

    T* Get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T** Put() {
        Reset();
        return &m_pointer;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    template <typename U>
    HRESULT As(ComRef<U>& other) const {
        if (!m_pointer) return E_POINTER;
        return m_pointer->QueryInterface(__uuidof(U), other.PutVoid());
    }
    HRESULT QueryTo(REFIID iid, void** out) const {
        if (!m_pointer) return E_POINTER;
        return m_pointer->QueryInterface(iid, out);
    }

private:
    T* m_pointer = nullptr;
};
