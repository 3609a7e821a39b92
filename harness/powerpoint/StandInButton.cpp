#include "StandInButton.h"

#include <olectl.h>

#include "OfficeIds.h"
#include "StandInApplication.h"

StandInButton::StandInButton(StandInApplication& application, bool temporary)
    : AutomationObject({OfficeIds::IID_CommandBarControl, OfficeIds::IID_CommandBarButton}),
      m_application(application),
      m_temporary(temporary),
      m_events(*static_cast<IDispatch*>(this)) {
    m_events.RefuseSinks(application.Options().failAdvise);
    AddTextProperty(L"Caption", 1610809344, m_caption);
    AddTextProperty(L"TooltipText", 1610809372, m_tooltip);
    AddTextProperty(L"Tag", 1610809370, m_tag);
    AddFlagProperty(L"Visible", 1610809376, m_visible);
    AddFlagProperty(L"Enabled", 1610809350, m_enabled);
    AddProperty(
        L"Style", 1610940430, [this](VARIANT* r) { SetInt(r, m_style); },
        [this](const AutomationArgs& a) {
            m_style = a.Int(0);
            m_application.Changed();
        });
    AddMethod(L"PasteFace", 1610940422, [this](const AutomationArgs&, VARIANT*) { PasteFace(); });
    AddProperty(
        L"Picture", 1610940434, [](VARIANT*) { throw AutomationError{E_NOTIMPL, L"Picture : not readable."}; },
        [this](const AutomationArgs& a) { SetPicture(a); });
    AddMethod(L"Execute", 1610809360, [this](const AutomationArgs&, VARIANT*) { Click(); });
}

void StandInButton::AddTextProperty(const wchar_t* name, DISPID id, std::wstring& field) {
    AddProperty(
        name, id, [&field](VARIANT* r) { SetString(r, field); },
        [this, &field](const AutomationArgs& a) {
            field = a.String(0);
            m_application.Changed();
        });
}

void StandInButton::AddFlagProperty(const wchar_t* name, DISPID id, bool& field) {
    AddProperty(
        name, id, [&field](VARIANT* r) { SetBool(r, field); },
        [this, &field](const AutomationArgs& a) {
            field = a.Int(0) != 0;
            m_application.Changed();
        });
}

void* StandInButton::QueryExtra(REFIID iid) {
    if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(&m_events);
    return nullptr;
}

void StandInButton::Click() {
    if (!m_enabled) return;
    m_events.FireClick(this);
    ++m_clicksReturned;
}

void StandInButton::PasteFace() {
    if (!OpenClipboard(nullptr)) throw AutomationError{E_FAIL, L"PasteFace : the clipboard is busy."};
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    // The clipboard keeps its bitmap: take a copy.
    HBITMAP copy = bitmap ? static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
    CloseClipboard();
    if (!copy) throw AutomationError{E_FAIL, L"PasteFace : the clipboard holds no picture."};
    m_face.Reset(copy);
    m_application.Changed();
}

void StandInButton::SetPicture(const AutomationArgs& args) {
    if (m_application.Options().refusePicture)
        throw AutomationError{E_NOTIMPL, L"Picture : this version sets faces through PasteFace only."};
    ComRef<IPicture> picture;
    IUnknown* value = args.Object(0);
    if (!value || FAILED(value->QueryInterface(IID_IPicture, picture.PutVoid())))
        throw AutomationError{DISP_E_TYPEMISMATCH, L"Picture : a picture is expected."};
    OLE_HANDLE handle = 0;
    SHORT type = PICTYPE_NONE;
    picture->get_Type(&type);
    picture->get_Handle(&handle);
    if (type != PICTYPE_BITMAP || !handle) throw AutomationError{E_INVALIDARG, L"Picture : a bitmap is expected."};
    m_face.Reset(static_cast<HBITMAP>(
        CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0)));
    m_application.Changed();
}
