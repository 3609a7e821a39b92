#pragma once
// Office's ribbon interface, as published: Office 2007 and later ask every COM
// add-in they load for it and take the ribbon markup it returns. The markup's
// callbacks are then called late-bound, by name, on the add-in's IDispatch.
#include <oaidl.h>

struct IRibbonExtensibility : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR ribbonId, BSTR* ribbonXml) = 0;
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IRibbonExtensibility, 0x000C0396, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
#endif
