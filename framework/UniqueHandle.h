#pragma once
// One owner for every kind of Win32 handle: the traits name the invalid value
// and how to close it.
#include <windows.h>
#include <winspool.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type value) : m_value(value) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_value(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Type Get() const { return m_value; }
    explicit operator bool() const { return m_value != Traits::Invalid(); }
    Type Release() { return std::exchange(m_value, Traits::Invalid()); }
    void Reset(Type value = Traits::Invalid()) {
        if (m_value != Traits::Invalid()) Traits::Close(m_value);
        m_value = value;
    }
    // For out-parameters: closes what is held and hands out the slot.
    Type* Put() {
        Reset();
        return &m_value;
    }

private:
    Type m_value = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};

// Searches from FindFirstFileW.
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

// Memory that Windows hands out to be freed with LocalFree (SDDL conversions).
struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { LocalFree(h); }
};

using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;

// FindFirstChangeNotificationW.
struct ChangeNotificationTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindCloseChangeNotification(h); }
};

using UniqueChangeNotification = UniqueHandle<ChangeNotificationTraits>;

// GDI objects (brushes, fonts, bitmaps) are all freed by DeleteObject.
template <typename T>
struct GdiObjectTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};

struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DestroyIcon(h); }
};

using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueIcon = UniqueHandle<IconTraits>;

// Registry keys from RegCreateKeyExW / RegOpenKeyExW; predefined roots are never held.
struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};

using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

// Libraries from LoadLibraryExW.
struct LibraryTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};

using UniqueLibrary = UniqueHandle<LibraryTraits>;

// Windows from CreateWindowExW that their creator destroys.
struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DestroyWindow(h); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;

// Memory device contexts from CreateCompatibleDC.
struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// Printers from OpenPrinterW.
struct PrinterTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ClosePrinter(h); }
};
using UniquePrinter = UniqueHandle<PrinterTraits>;
