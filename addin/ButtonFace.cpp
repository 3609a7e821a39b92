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

// What the clipboard held, format by format, as global memory copies. Formats
// that are not memory blocks (bitmaps, metafiles) are rendered by the system
// from the memory formats it synthesises, so copying the blocks keeps the content.
class ClipboardContents {
public:
    void Save() {
        for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
            HANDLE data = GetClipboardData(format);
            SIZE_T size = data ? GlobalSize(data) : 0;
            if (!size) continue;
            HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
            void* from = GlobalLock(data);
            void* to = copy ? GlobalLock(copy) : nullptr;
            if (from && to) {
                memcpy(to, from, size);
                m_blocks.push_back({format, copy});
            } else if (copy) {
                GlobalFree(copy);
            }
            if (from) GlobalUnlock(data);
            if (to) GlobalUnlock(copy);
        }
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
    struct Block {
        UINT format;
        HGLOBAL memory;
    };
    std::vector<Block> m_blocks;
};

}  // namespace

HRESULT ButtonFace::Apply(IDispatch* button) {
    if (SUCCEEDED(SetPicture(button))) return S_OK;
    return PasteThroughClipboard(button);
}

HRESULT ButtonFace::SetPicture(IDispatch* button) {
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = LoadFace();
    if (!description.bmp.hbitmap) return HRESULT_FROM_WIN32(GetLastError());
    ComRef<IDispatch> picture;
    // The picture owns the bitmap from here on.
    HRESULT hr = OleCreatePictureIndirect(&description, IID_IDispatch, TRUE, picture.PutVoid());
    if (FAILED(hr)) {
        DeleteObject(description.bmp.hbitmap);
        return hr;
    }
    UniqueVariant value;
    value.Get()->vt = VT_DISPATCH;
    value.Get()->pdispVal = picture.Detach();
    return DispatchCall(button).Put(L"Picture", value.Get());
}

HRESULT ButtonFace::PasteThroughClipboard(IDispatch* button) {
    UniqueBitmap face(LoadFace());
    if (!face) return HRESULT_FROM_WIN32(GetLastError());
    if (!OpenClipboard(nullptr)) return HRESULT_FROM_WIN32(GetLastError());
    ClipboardContents saved;
    saved.Save();
    EmptyClipboard();
    if (SetClipboardData(CF_BITMAP, face.Get())) face.Release();  // the clipboard owns it now
    CloseClipboard();

    HRESULT hr = DispatchCall(button).Method(L"PasteFace");

    if (OpenClipboard(nullptr)) {
        saved.Restore();
        CloseClipboard();
    }
    return hr;
}
