#include "ButtonFace.h"

#include <windows.h>
#include <olectl.h>

#include <memory>
#include <vector>

#include "AutomationValues.h"
#include "ComRef.h"
#include "DispatchCall.h"
#include "ModulePath.h"
#include "UniqueHandle.h"

namespace {

const int kFaceBitmap = 201;

HBITMAP LoadFace() {
    return static_cast<HBITMAP>(
        LoadImageW(ModulePath::Instance(), MAKEINTRESOURCEW(kFaceBitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

// Another program may hold the clipboard for a moment.
const int kOpenTries = 20;
const DWORD kOpenPauseMs = 25;

bool OpenClipboardRetrying(HWND owner) {
    for (int attempt = 0; attempt < kOpenTries; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(kOpenPauseMs);
    }
    return false;
}

// EmptyClipboard makes the window that opened the clipboard its owner; Windows
// refuses SetClipboardData while there is none, so the face and the user's
// contents need a window of ours.
UniqueWindow CreateClipboardOwner() {
    return UniqueWindow(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        ModulePath::Instance(), nullptr));
}

// Formats whose data is a GDI handle, or a block holding one: a copy of the
// block would not keep the picture once the clipboard frees the original.
bool IsHandleFormat(UINT format) {
    switch (format) {
    case CF_BITMAP:
    case CF_METAFILEPICT:
    case CF_PALETTE:
    case CF_ENHMETAFILE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
        return true;
    default:
        return (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST) ||
               (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST);
    }
}

// What the clipboard held, format by format, as global memory copies. Only
// memory blocks can be copied faithfully; Save refuses any other format.
class ClipboardContents {
public:
    // False when something on the clipboard could not be kept: leave it alone then.
    bool Save() {
        for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
            if (IsHandleFormat(format) || !SaveBlock(format)) return false;
        }
        return GetLastError() == ERROR_SUCCESS;
    }
    void Restore() {
        EmptyClipboard();
        for (auto& block : m_blocks)
            if (!SetClipboardData(block.format, block.memory)) GlobalFree(block.memory);
        m_blocks.clear();
    }
    ~ClipboardContents() {
        for (auto& block : m_blocks) GlobalFree(block.memory);
    }

private:
    bool SaveBlock(UINT format) {
        HANDLE data = GetClipboardData(format);
        const SIZE_T size = data ? GlobalSize(data) : 0;
        if (!size) return false;
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
        if (!copy) return false;
        m_blocks.push_back({format, copy});
        const void* from = GlobalLock(data);
        void* to = GlobalLock(copy);
        if (from && to) memcpy(to, from, size);
        if (from) GlobalUnlock(data);
        GlobalUnlock(copy);
        SetLastError(ERROR_SUCCESS);  // EnumClipboardFormats reports its own end through it
        return from != nullptr;
    }

    struct Block {
        UINT format;
        HGLOBAL memory;
    };
    std::vector<Block> m_blocks;
};

}  // namespace

// A button without a face still works: the face never costs the toolbar.
HRESULT ButtonFace::Apply(IDispatch* button) {
    if (SUCCEEDED(SetPicture(button))) return S_OK;
    PasteThroughClipboard(button);
    return S_OK;
}

HRESULT ButtonFace::Picture(ComRef<IDispatch>& picture) {
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = LoadFace();
    if (!description.bmp.hbitmap) return HRESULT_FROM_WIN32(GetLastError());
    // The picture owns the bitmap from here on.
    HRESULT hr = OleCreatePictureIndirect(&description, IID_IDispatch, TRUE, picture.PutVoid());
    if (FAILED(hr)) DeleteObject(description.bmp.hbitmap);
    return hr;
}

HRESULT ButtonFace::SetPicture(IDispatch* button) {
    ComRef<IDispatch> picture;
    HRESULT hr = Picture(picture);
    if (FAILED(hr)) return hr;
    UniqueVariant value;
    value.Get()->vt = VT_DISPATCH;
    value.Get()->pdispVal = picture.Detach();
    return DispatchCall(button).Put(L"Picture", value.Get());
}

// The user's clipboard is never lost: what cannot be put back untouched is not touched.
HRESULT ButtonFace::PasteThroughClipboard(IDispatch* button) {
    UniqueBitmap face(LoadFace());
    if (!face) return HRESULT_FROM_WIN32(GetLastError());
    UniqueWindow owner(CreateClipboardOwner());
    if (!owner) return HRESULT_FROM_WIN32(GetLastError());
    if (!OpenClipboardRetrying(owner.Get())) return HRESULT_FROM_WIN32(ERROR_BUSY);
    ClipboardContents saved;
    SetLastError(ERROR_SUCCESS);
    if (!saved.Save()) {
        CloseClipboard();
        return HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
    }
    EmptyClipboard();
    if (SetClipboardData(CF_BITMAP, face.Get())) face.Release();  // the clipboard owns it now
    CloseClipboard();

    HRESULT hr = DispatchCall(button).Method(L"PasteFace");

    if (OpenClipboardRetrying(owner.Get())) {
        saved.Restore();
        CloseClipboard();
    }
    return hr;
}
