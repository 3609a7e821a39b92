#pragma once
// Puts the add-in's picture (bitmap 201) on the toolbar button: through the
// button's Picture property, and only where the host refuses that, by pasting
// it from the clipboard, whose contents are saved before and restored after.
#include <oaidl.h>

class ButtonFace {
public:
    static HRESULT Apply(IDispatch* button);

private:
    static HRESULT SetPicture(IDispatch* button);
    static HRESULT PasteThroughClipboard(IDispatch* button);
};
