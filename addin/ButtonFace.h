#pragma once
// Puts the add-in's picture (bitmap 201) on the toolbar button: through the
// button's Picture property, and only where the host refuses that, by pasting
// it from the clipboard, whose contents are saved before and restored after.
// A clipboard holding what cannot be restored faithfully (bitmap, metafile or
// palette handles), or one that stays busy, is left alone: no face then.
#include <oaidl.h>

#include "ComRef.h"

class ButtonFace {
public:
    // S_OK also when the button got no face.
    static HRESULT Apply(IDispatch* button);
    // The face as an IPictureDisp (the ribbon's image), of the bitmap's own size.
    static HRESULT Picture(ComRef<IDispatch>& picture);

private:
    static HRESULT SetPicture(IDispatch* button);
    static HRESULT PasteThroughClipboard(IDispatch* button);
};
