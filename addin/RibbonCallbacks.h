#pragma once
// The ribbon markup's callbacks as PowerPoint calls them: GetIDsOfNames with
// the names the markup gives (RibbonXml), then Invoke with the control (or the
// ribbon, for onLoad). A callback never fails toward the host: whatever goes
// wrong inside, Invoke answers S_OK, with no result where one was asked for.
#include <oaidl.h>

#include <functional>

#include "ComRef.h"

class RibbonCallbacks {
public:
    struct Handlers {
        std::function<void(IDispatch* ribbon)> loaded;
        std::function<void()> clicked;
        std::function<HRESULT(ComRef<IDispatch>& picture)> image;
    };

    explicit RibbonCallbacks(Handlers handlers) : m_handlers(std::move(handlers)) {}

    // S_OK when every name is a callback of ours (ids filled), else DISP_E_UNKNOWNNAME.
    static HRESULT IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids);
    static bool Serves(DISPID id);
    HRESULT Invoke(DISPID id, DISPPARAMS* params, VARIANT* result) const noexcept;

private:
    void Run(DISPID id, DISPPARAMS* params, VARIANT* result) const;

    Handlers m_handlers;
};
