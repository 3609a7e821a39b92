#include "WindowShot.h"

#include "TestFiles.h"
#include "UniqueHandle.h"
#include "UnixShell.h"

namespace {

struct DeviceContextTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type dc) { DeleteDC(dc); }
};

// A 24-bit bottom-up BMP file of the screen rectangle.
std::string Capture(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFOHEADER header{sizeof(header), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    header.biSizeImage = stride * static_cast<DWORD>(height);
    HDC screen = GetDC(nullptr);
    UniqueHandle<DeviceContextTraits> memory(CreateCompatibleDC(screen));
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                         nullptr, 0));
    HGDIOBJ old = SelectObject(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    SelectObject(memory.Get(), old);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&header), sizeof(header));
    bytes.append(static_cast<const char*>(bits), header.biSizeImage);
    return bytes;
}

}  // namespace

bool WindowShot::Save(HWND window, const std::string& name) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SendMessageW(window, WM_NULL, 0, 0);  // the window's thread has painted
    RECT rect{};
    GetWindowRect(window, &rect);
    const std::wstring bmp = TestFiles::NewFolder(L"shot") + L"window.bmp";
    if (!TestFiles::Write(bmp, Capture(rect))) return false;
    const std::string folder = QUILLSET_SCREENSHOT_DIR;
    return UnixShell::Run("mkdir -p " + UnixShell::QuoteText(folder) + " && convert " + UnixShell::Quote(bmp) + " " +
                          UnixShell::QuoteText(folder + "/" + name + ".png"))
               .status == 0;
}
