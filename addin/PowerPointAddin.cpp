#include "PowerPointAddin.h"

#include <ocidl.h>
#include <olectl.h>

#include <new>

#include "AppMessageBox.h"
#include "ButtonFace.h"
#include "ConvertDlg.h"
#include "DispatchCall.h"
#include "ModuleLock.h"
#include "ModulePath.h"
#include "OfficeIds.h"
#include "PresentationConverter.h"
#include "PrinterSwitch.h"
#include "RibbonXml.h"

namespace {

const wchar_t kToolbarName[] = L"MyAddin";
const wchar_t kButtonText[] = L"Vellumark 5.0";
const wchar_t kSavePrompt[] =
    L"The program has detected that the File contents have changed.\r\nDo you want to save it?";
const LONG kBarTop = 1;         // msoBarTop
const LONG kControlButton = 1;  // msoControlButton
const LONG kIconAndCaption = 3; // msoButtonIconAndCaption

// Sets one property and stops the caller's sequence on failure.
HRESULT PutProperty(IDispatch* target, const wchar_t* name, UniqueVariant value) {
    return DispatchCall(target).Put(name, value.Get());
}

ComRef<ITypeLib> OwnTypeLibrary() {
    ComRef<ITypeLib> library;
    LoadTypeLibEx(ModulePath::File().c_str(), REGKIND_NONE, library.Put());
    return library;
}

ComRef<ITypeLib> AddInDesignerTypeLibrary() {
    // Office registers it; without it the connection methods are reached early-bound only.
    static const GUID kLibrary = {0xAC0714F2, 0x3D04, 0x11D1, {0xAE, 0x7D, 0x00, 0xA0, 0xC9, 0x0F, 0x26, 0xF4}};
    ComRef<ITypeLib> library;
    LoadRegTypeLib(kLibrary, 1, 0, LOCALE_NEUTRAL, library.Put());
    return library;
}

// One click at a time in the process: from PowerPoint 2013 on every presentation
// has a window of its own, and only the Convert dialog's owner is disabled, so
// the button can be clicked again elsewhere while a dialog (or the save prompt)
// is up. Two runs would switch and "restore" the default printer over each other.
class ClickInProgress {
public:
    ClickInProgress() { s_running = true; }
    ~ClickInProgress() {
        s_running = false;
        s_dialog = nullptr;
    }
    ClickInProgress(const ClickInProgress&) = delete;
    ClickInProgress& operator=(const ClickInProgress&) = delete;

    static bool Running() { return s_running; }
    void Show(CConvertDlg& dialog) {
        s_dialog = &dialog;
        dialog.DoModal();
    }
    // The open dialog, or the Finish dialog over it, comes to the front.
    static void BringToFront() {
        HWND dialog = s_dialog ? s_dialog->GetSafeHwnd() : nullptr;
        if (!dialog) return;
        if (IsIconic(dialog)) ShowWindow(dialog, SW_RESTORE);
        SetForegroundWindow(GetLastActivePopup(dialog));
    }

private:
    static inline bool s_running = false;  // PowerPoint's user-interface thread only
    static inline CConvertDlg* s_dialog = nullptr;
};

}  // namespace

HRESULT CPowerPointAddin::Create(IUnknown* outer, REFIID iid, void** out) {
    auto* object = new (std::nothrow) CPowerPointAddin(outer);
    if (!object) return E_OUTOFMEMORY;
    HRESULT hr = object->m_inner.QueryInterface(iid, out);
    object->m_inner.Release();
    return hr;
}

CPowerPointAddin::CPowerPointAddin(IUnknown* outer)
    : m_outer(outer ? outer : &m_inner),
      m_sink(*static_cast<IPowerPointAddin*>(this), [this] { OnClick(); }),
      m_ribbonCallbacks({[this](IDispatch* ribbon) { m_ribbon = ribbon; }, [this] { OnRibbonClick(); },
                         [](ComRef<IDispatch>& picture) { return ButtonFace::Picture(picture); }}) {
    ModuleLock::Add();
    TypedDispatch<IPowerPointAddin>::LoadTypeInfo(OwnTypeLibrary().Get());
    RibbonDispatch<_IDTExtensibility2>::LoadTypeInfo(AddInDesignerTypeLibrary().Get());
}

CPowerPointAddin::~CPowerPointAddin() {
    ModuleLock::Release();
}

STDMETHODIMP_(ULONG) CPowerPointAddin::Inner::Release() {
    ULONG left = --m_self.m_refs;
    if (left == 0) delete &m_self;
    return left;
}

HRESULT CPowerPointAddin::InnerQueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown) *out = &m_inner;
    else if (iid == __uuidof(IPowerPointAddin)) *out = static_cast<IPowerPointAddin*>(this);
    else if (iid == IID_IDispatch) *out = static_cast<_IDTExtensibility2*>(this);  // late-bound connection calls
    else if (iid == IID_ISupportErrorInfo) *out = static_cast<ISupportErrorInfo*>(this);
    else if (iid == __uuidof(_IDTExtensibility2)) *out = static_cast<_IDTExtensibility2*>(this);
    else if (iid == __uuidof(IRibbonExtensibility)) *out = static_cast<IRibbonExtensibility*>(this);
    if (!*out) return E_NOINTERFACE;
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
}

STDMETHODIMP CPowerPointAddin::InterfaceSupportsErrorInfo(REFIID iid) {
    return iid == __uuidof(IPowerPointAddin) ? S_OK : S_FALSE;
}

STDMETHODIMP CPowerPointAddin::OnConnection(IDispatch* application, int, IDispatch*, SAFEARRAY**) {
    try {
        // Before anything else: a run that never finished left the user's default printer switched.
        PrinterSwitch::RecoverUnfinished(PresentationConverter::kPostScriptPrinter);
        return Connect(application);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT CPowerPointAddin::Connect(IDispatch* application) {
    if (!application) return E_INVALIDARG;
    // Connected already: a second toolbar would take the place of the button whose
    // subscription OnDisconnection must end, and leave that one subscribed for good.
    if (m_cookie != kNoSubscription) return E_FAIL;
    ComRef<IDispatch> powerPoint;
    HRESULT hr = application->QueryInterface(OfficeIds::IID_Application, powerPoint.PutVoid());
    if (FAILED(hr)) return hr;
    m_application = powerPoint;
    ComRef<IDispatch> button;
    hr = BuildToolbar(button);
    if (FAILED(hr)) return hr;
    m_button = button;
    Subscribe(button.Get());  // a button that cannot be heard still shows; nothing more to do
    m_connected = true;
    return S_OK;
}

HRESULT CPowerPointAddin::BuildToolbar(ComRef<IDispatch>& button) {
    ComRef<IDispatch> bars, bar, controls, control;
    HRESULT hr = DispatchCall(m_application.Get()).GetDispatch(L"CommandBars", bars);
    if (FAILED(hr)) return hr;
    UniqueVariant barValue, controlValue;
    auto name = UniqueVariant::String(kToolbarName), top = UniqueVariant::Int(kBarTop),
         missing = UniqueVariant::Missing(), temporary = UniqueVariant::Short(-1),
         type = UniqueVariant::Int(kControlButton);
    if (FAILED(hr = DispatchCall(bars.Get()).Method(L"Add", {name.Get(), top.Get(), missing.Get(), temporary.Get()},
                                                     barValue.Put())))
        return hr;
    if (barValue.Value().vt != VT_DISPATCH || !barValue.Value().pdispVal) return E_UNEXPECTED;
    bar = ComRef<IDispatch>(barValue.Value().pdispVal);
    if (FAILED(hr = DispatchCall(bar.Get()).GetDispatch(L"Controls", controls))) return hr;
    if (FAILED(hr = DispatchCall(controls.Get())
                        .Method(L"Add", {type.Get(), missing.Get(), missing.Get(), missing.Get(), temporary.Get()},
                                controlValue.Put())))
        return hr;
    if (controlValue.Value().vt != VT_DISPATCH || !controlValue.Value().pdispVal) return E_UNEXPECTED;
    control = ComRef<IDispatch>(controlValue.Value().pdispVal);
    if (FAILED(hr = control->QueryInterface(OfficeIds::IID_CommandBarButton, button.PutVoid()))) return hr;
    if (FAILED(hr = PutProperty(button.Get(), L"Style", UniqueVariant::Int(kIconAndCaption)))) return hr;
    if (FAILED(hr = ButtonFace::Apply(button.Get()))) return hr;
    if (FAILED(hr = PutProperty(control.Get(), L"Visible", UniqueVariant::Bool(true)))) return hr;
    if (FAILED(hr = PutProperty(control.Get(), L"Caption", UniqueVariant::String(kButtonText)))) return hr;
    if (FAILED(hr = PutProperty(control.Get(), L"Enabled", UniqueVariant::Bool(true)))) return hr;
    if (FAILED(hr = PutProperty(control.Get(), L"TooltipText", UniqueVariant::String(kButtonText)))) return hr;
    if (FAILED(hr = PutProperty(control.Get(), L"Tag", UniqueVariant::String(kButtonText)))) return hr;
    return PutProperty(bar.Get(), L"Visible", UniqueVariant::Bool(true));
}

HRESULT CPowerPointAddin::Subscribe(IDispatch* button) {
    ComRef<IConnectionPointContainer> container;
    ComRef<IConnectionPoint> point;
    HRESULT hr = button->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
    if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(OfficeIds::IID_CommandBarButtonEvents, point.Put());
    DWORD cookie = 0;
    if (SUCCEEDED(hr)) hr = point->Advise(static_cast<IDispatch*>(&m_sink), &cookie);
    if (SUCCEEDED(hr)) m_cookie = cookie;
    return hr;
}

STDMETHODIMP CPowerPointAddin::OnDisconnection(int, SAFEARRAY**) {
    try {
        ComRef<IConnectionPointContainer> container;
        ComRef<IConnectionPoint> point;
        if (m_cookie != kNoSubscription && m_button &&
            SUCCEEDED(m_button->QueryInterface(IID_IConnectionPointContainer, container.PutVoid())) &&
            SUCCEEDED(container->FindConnectionPoint(OfficeIds::IID_CommandBarButtonEvents, point.Put())))
            point->Unadvise(m_cookie);
    } catch (...) {
    }
    m_cookie = kNoSubscription;
    m_connected = false;
    return E_NOTIMPL;
}

// PowerPoint asks once per kind of window; only a presentation's gets the group.
STDMETHODIMP CPowerPointAddin::GetCustomUI(BSTR ribbonId, BSTR* ribbonXml) {
    if (!ribbonXml) return E_POINTER;
    *ribbonXml = nullptr;
    try {
        const std::wstring markup = RibbonXml::For(ribbonId ? std::wstring(ribbonId, SysStringLen(ribbonId)) : L"");
        if (markup.empty()) return S_OK;
        *ribbonXml = SysAllocStringLen(markup.data(), static_cast<UINT>(markup.size()));
        return *ribbonXml ? S_OK : E_OUTOFMEMORY;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

void CPowerPointAddin::OnClick() {
    if (m_cookie == kNoSubscription) return;
    Convert();
}

// The ribbon's button does what the toolbar's does, from connection to disconnection.
void CPowerPointAddin::OnRibbonClick() {
    if (m_connected) Convert();
}

void CPowerPointAddin::Convert() {
    if (ClickInProgress::Running()) {
        ClickInProgress::BringToFront();
        return;
    }
    ClickInProgress click;
    ComRef<IDispatch> presentation;
    if (m_application) DispatchCall(m_application.Get()).GetDispatch(L"ActivePresentation", presentation);
    if (presentation && !SaveIfWanted(presentation.Get())) return;
    CConvertDlg dialog;
    dialog.m_strPresentationPath = presentation ? PresentationPath(presentation.Get()) : std::wstring();
    click.Show(dialog);
}

// False when the user wanted the presentation saved and saving failed.
bool CPowerPointAddin::SaveIfWanted(IDispatch* presentation) {
    UniqueVariant saved;
    if (FAILED(DispatchCall(presentation).Get(L"Saved", saved.Put())) ||
        FAILED(VariantChangeType(saved.Get(), saved.Get(), 0, VT_I4)) || saved.Value().lVal != 0)
        return true;
    if (MessageBoxW(nullptr, kSavePrompt, AppMessageBox::Caption().c_str(), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return true;
    if (SUCCEEDED(DispatchCall(presentation).Method(L"Save"))) return true;
    AppMessageBox::Show(L"The presentation could not be saved.");
    return false;
}

std::wstring CPowerPointAddin::PresentationPath(IDispatch* presentation) {
    UniqueVariant name;
    if (FAILED(DispatchCall(presentation).Get(L"FullName", name.Put())) || name.Value().vt != VT_BSTR) return {};
    return std::wstring(name.Value().bstrVal, SysStringLen(name.Value().bstrVal));
}
