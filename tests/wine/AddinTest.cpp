// Quillset.dll as a COM server and as the add-in PowerPoint loads.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ButtonConversion.h"
#include "ConvertDialogDriver.h"
#include "DefaultPrinter.h"
#include "DialogThread.h"
#include "Extensibility.h"
#include "ImportPatch.h"
#include "LibraryExport.h"
#include "AutomationValues.h"
#include "ComRef.h"
#include "MessageBoxWatcher.h"
#include "OfficeIds.h"
#include "ProcessRunner.h"
#include "RegistryDump.h"
#include "RibbonExtensibility.h"
#include "RibbonMarkup.h"
#include "StandInButton.h"
#include "StandInCommandBar.h"
#include "StandInCommandBars.h"
#include "StandInPresentation.h"
#include "StandInRibbon.h"
#include "StandInSession.h"
#include "TestFiles.h"
#include "UnixChild.h"
#include "resource.h"

namespace {

const wchar_t kClsid[] = L"{7EEF936A-F221-4F46-8C29-92821BB74D7B}";
const wchar_t kAddinKey[] = L"Software\\Microsoft\\Office\\PowerPoint\\Addins\\Quillset.PowerPointAdd";

using RegisterFn = HRESULT(WINAPI*)();
using InstallFn = HRESULT(WINAPI*)(BOOL, LPCWSTR);
using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

std::wstring LibraryPath() {
    return TestFiles::Built(L"addin\\Quillset.dll");
}

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring Text(HKEY root, const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"<none>";
    return value;
}

DWORD Number(HKEY root, const std::wstring& path, const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    RegGetValueW(root, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

// regsvr32 in a process of its own: the per-user switch is process-wide and never cleared.
DWORD Regsvr32(const std::wstring& switches) {
    DWORD exitCode = STILL_ACTIVE;
    if (!ProcessRunner::RunProcess(L"regsvr32 /s " + switches + L" \"" + LibraryPath() + L"\"", true,
                                   &exitCode))
        return STILL_ACTIVE;
    return exitCode;
}

// As Windows: no data goes onto a clipboard that EmptyClipboard left without an
// owner, which it does when it was opened without a window. Wine takes it.
HANDLE WINAPI OwnedSetClipboardData(UINT format, HANDLE data) {
    if (!GetClipboardOwner()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    return SetClipboardData(format, data);
}

class AddinTest : public ::testing::Test {
protected:
    void SetUp() override {
        library = LoadLibraryW(LibraryPath().c_str());
        ASSERT_NE(library, nullptr);
        strictClipboard = std::make_unique<ImportPatch>(L"user32.dll", "SetClipboardData",
                                                        reinterpret_cast<void*>(&OwnedSetClipboardData), library);
        ASSERT_TRUE(strictClipboard->Applied());
    }
    void TearDown() override {
        Export<InstallFn>("DllInstall")(FALSE, nullptr);
        Export<InstallFn>("DllInstall")(FALSE, L"user");
        strictClipboard.reset();
        FreeLibrary(library);
    }
    template <typename Fn>
    Fn Export(const char* name) {
        return LibraryExport<Fn>(library, name);
    }
    HMODULE library = nullptr;
    std::unique_ptr<ImportPatch> strictClipboard;
};

}  // namespace

TEST_F(AddinTest, RegistersEveryKeyAndRemovesAllButTheSharedOnes) {
    ASSERT_EQ(Export<RegisterFn>("DllRegisterServer")(), S_OK);
    const std::wstring clsid = std::wstring(L"CLSID\\") + kClsid;
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, clsid), L"PowerPointAddin Class");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, clsid + L"\\InprocServer32"), LibraryPath());
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, clsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, clsid + L"\\ProgID"), L"Quillset.PowerPointA.1");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, clsid + L"\\VersionIndependentProgID"), L"Quillset.PowerPointAdd");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, clsid + L"\\Programmable"));
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, clsid + L"\\TypeLib"), L"{A35FC283-3039-4C91-A182-6657E672924B}");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, L"Quillset.PowerPointAdd\\CurVer"), L"Quillset.PowerPointA.1");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, L"Quillset.PowerPointA.1\\CLSID"), kClsid);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, L"AppID\\{5C4B41DD-C504-44C6-B2C2-8AA99AF68942}"), L"Quillset");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, L"AppID\\Quillset.DLL", L"AppID"), L"{5C4B41DD-C504-44C6-B2C2-8AA99AF68942}");
    // Every user of the machine gets the add-in, not only the one who registered it.
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kAddinKey, L"FriendlyName"), L"PPT Custom Addin");
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kAddinKey, L"Description"), L"Ppt Custom Addin");
    EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, kAddinKey, L"LoadBehavior"), 3u);
    EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, kAddinKey, L"CommandLineSafe"), 1u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAddinKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\{A35FC283-3039-4C91-A182-6657E672924B}\\1.0"));
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, L"Interface\\{A492D605-B099-4945-BD09-E4EDB9B0A988}\\ProxyStubClsid32"),
              L"{A492D605-B099-4945-BD09-E4EDB9B0A988}");

    ASSERT_EQ(Export<RegisterFn>("DllUnregisterServer")(), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, clsid));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Quillset.PowerPointAdd"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"AppID\\Quillset.DLL"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAddinKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"AppID"));
}

TEST_F(AddinTest, Regsvr32RegistersAndUnregisters) {
    const std::wstring clsid = std::wstring(L"CLSID\\") + kClsid + L"\\InprocServer32";
    DWORD exitCode = 1;
    ASSERT_NE(ProcessRunner::RunProcess(L"regsvr32 /s \"" + LibraryPath() + L"\"", true, &exitCode), 0u);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, clsid), LibraryPath());
    ASSERT_NE(ProcessRunner::RunProcess(L"regsvr32 /s /u \"" + LibraryPath() + L"\"", true, &exitCode), 0u);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, clsid));
}

TEST_F(AddinTest, MachineWideRemovalTakesAnEarlierVersionsUserKeyUnlessAPerUserRegistrationHoldsIt) {
    // Earlier versions wrote the add-in key into the registering user's HKCU.
    HKEY stale = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, kAddinKey, 0, nullptr, 0, KEY_WRITE, nullptr, &stale, nullptr),
        ERROR_SUCCESS);
    const DWORD three = 3;
    RegSetValueExW(stale, L"LoadBehavior", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), sizeof three);
    RegCloseKey(stale);
    ASSERT_EQ(Regsvr32(L""), 0u);
    EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, kAddinKey, L"LoadBehavior"), 3u);
    ASSERT_EQ(Regsvr32(L"/u"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAddinKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAddinKey)) << "the earlier version's key stayed";

    ASSERT_EQ(Regsvr32(L"/n /i:user"), 0u);
    ASSERT_EQ(Regsvr32(L""), 0u);
    ASSERT_EQ(Regsvr32(L"/u"), 0u);
    EXPECT_EQ(Number(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior"), 3u)
        << "the per-user registration lost its key";
    ASSERT_EQ(Regsvr32(L"/u /n /i:user"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAddinKey));
}

TEST_F(AddinTest, PerUserRegistrationWritesNothingOutsideTheUsersHive) {
    const std::wstring classes = L"Software\\Classes\\";
    const std::vector<std::wstring> before = RegistryDump::Hive(HKEY_LOCAL_MACHINE, L"HKLM");
    ASSERT_EQ(Regsvr32(L"/n /i:user"), 0u);
    const std::vector<std::wstring> registered = RegistryDump::Hive(HKEY_LOCAL_MACHINE, L"HKLM");
    EXPECT_TRUE(before == registered) << RegistryDump::Difference(before, registered);
    EXPECT_EQ(Number(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior"), 3u);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, classes + L"CLSID\\" + kClsid + L"\\InprocServer32"), LibraryPath());
    EXPECT_EQ(Text(HKEY_CURRENT_USER,
                   classes + L"Interface\\{A492D605-B099-4945-BD09-E4EDB9B0A988}\\ProxyStubClsid32"),
              L"{A492D605-B099-4945-BD09-E4EDB9B0A988}");
    EXPECT_TRUE(
        KeyExists(HKEY_CURRENT_USER, classes + L"TypeLib\\{A35FC283-3039-4C91-A182-6657E672924B}\\1.0"));

    ASSERT_EQ(Regsvr32(L"/u /n /i:user"), 0u);
    const std::vector<std::wstring> removed = RegistryDump::Hive(HKEY_LOCAL_MACHINE, L"HKLM");
    EXPECT_TRUE(before == removed) << RegistryDump::Difference(before, removed);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAddinKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, classes + L"CLSID\\" + kClsid));
    EXPECT_FALSE(
        KeyExists(HKEY_CURRENT_USER, classes + L"Interface\\{A492D605-B099-4945-BD09-E4EDB9B0A988}"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, classes + L"TypeLib\\{A35FC283-3039-4C91-A182-6657E672924B}"));
}

TEST_F(AddinTest, PowerPointLoadsAnAddinRegisteredForTheMachineAndForTheUserOnce) {
    ASSERT_EQ(Regsvr32(L""), 0u);
    ASSERT_EQ(Regsvr32(L"/n /i:user"), 0u);
    {
        StandInSession session(StandInOptions{});
        ASSERT_EQ(session.Host().Addins().Addins().size(), 1u);
        const auto& loaded = session.Host().Addins().Addins()[0];
        EXPECT_EQ(loaded.connection, S_OK);
        EXPECT_EQ(session.Application().CommandBars().Count(), 1u) << "the toolbar stays, under Add-ins";
        // The ribbon's group shows, its button with the toolbar's face.
        ASSERT_TRUE(loaded.ribbonShown);
        EXPECT_EQ(loaded.ribbon->Error(), L"");
        BITMAP face{};
        ASSERT_NE(GetObjectW(loaded.ribbon->Image(L"QuillsetConvert"), sizeof face, &face), 0);
        EXPECT_EQ(face.bmWidth, 32);
        EXPECT_EQ(face.bmHeight, 32);
    }
    {
        StandInOptions older;
        older.ribbon = false;
        StandInSession session(older);
        ASSERT_EQ(session.Host().Addins().Addins().size(), 1u);
        EXPECT_EQ(session.Host().Addins().Addins()[0].ribbon, nullptr) << "a host without a ribbon asks for none";
        EXPECT_EQ(session.Host().Window().Ribbon(), nullptr);
        EXPECT_EQ(session.Application().CommandBars().Count(), 1u);
    }
    ASSERT_EQ(Regsvr32(L"/u /n /i:user"), 0u);
    StandInSession session(StandInOptions{});
    ASSERT_EQ(session.Host().Addins().Addins().size(), 1u) << "HKLM alone: loaded for this user too";
    EXPECT_EQ(session.Application().CommandBars().Count(), 1u);
    session.Host().Addins().UnloadAll();
    EXPECT_EQ(Regsvr32(L"/u"), 0u);
}

TEST_F(AddinTest, DllInstallRegistersPerUserOnlyForTheWordUser) {
    const std::wstring userClsid = std::wstring(L"Software\\Classes\\CLSID\\") + kClsid;
    ASSERT_EQ(Export<InstallFn>("DllInstall")(TRUE, L"userx"), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, userClsid)) << "userx registers machine-wide";
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::wstring(L"Software\\Classes\\CLSID\\") + kClsid));
    ASSERT_EQ(Export<InstallFn>("DllInstall")(FALSE, nullptr), S_OK);
    ASSERT_EQ(Export<InstallFn>("DllInstall")(TRUE, L"USER"), S_OK);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, userClsid));
    EXPECT_EQ(Number(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior"), 3u);
}

TEST_F(AddinTest, ClassObjectsAndUnloading) {
    auto getClassObject = Export<GetClassObjectFn>("DllGetClassObject");
    auto canUnload = Export<RegisterFn>("DllCanUnloadNow");
    IClassFactory* factory = nullptr;
    const CLSID unknown = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(getClassObject(unknown, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              CLASS_E_CLASSNOTAVAILABLE);
    CLSID clsid;
    CLSIDFromString(kClsid, &clsid);
    ASSERT_EQ(getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(canUnload(), S_OK);
    _IDTExtensibility2* addin = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, __uuidof(_IDTExtensibility2), reinterpret_cast<void**>(&addin)), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE) << "a live object keeps the library";
    EXPECT_EQ(addin->OnStartupComplete(nullptr), E_NOTIMPL);
    EXPECT_EQ(addin->OnConnection(nullptr, 0, nullptr, nullptr), E_INVALIDARG);
    addin->Release();
    EXPECT_EQ(canUnload(), S_OK);
    // A lock keeps the library after its factory is gone, until it is undone.
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(canUnload(), S_FALSE) << "a locked server stays loaded";
    ASSERT_EQ(getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(canUnload(), S_OK);
}

namespace {
// An IDispatch call by name, as PowerPoint makes a ribbon callback: Invoke's
// result, and what it gave back in `result`.
HRESULT CallByName(IDispatch* target, const std::wstring& name, std::vector<VARIANT> args, VARIANT* result) {
    std::wstring buffer = name;
    LPOLESTR names[] = {buffer.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    EXCEPINFO exception{};
    return target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params,
                          result, &exception, nullptr);
}

bool ClickOpensTheDialog(const std::function<void()>& click);

// The add-in's markup for a presentation's window, read as the stand-in reads it.
bool PresentationMarkup(IRibbonExtensibility* ribbon, RibbonMarkup& markup, std::wstring& error) {
    UniqueBstr id(StandInRibbon::kPresentationRibbon), xml;
    if (FAILED(ribbon->GetCustomUI(id.Get(), xml.Put()))) {
        error = L"GetCustomUI failed";
        return false;
    }
    return markup.Parse(xml.Text(), error);
}

HANDLE WINAPI RefusedLoadImage(HINSTANCE, LPCWSTR, UINT, int, int, UINT) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
}
}  // namespace

// PowerPoint 2007 on asks every add-in for its ribbon markup, per kind of window.
TEST_F(AddinTest, RibbonMarkupGivesOneGroupAndNamesOnlyCallbacksTheObjectAnswersOnEitherDispatch) {
    CLSID clsid;
    CLSIDFromString(kClsid, &clsid);
    ComRef<IClassFactory> factory;
    ASSERT_EQ(Export<GetClassObjectFn>("DllGetClassObject")(clsid, IID_IClassFactory, factory.PutVoid()), S_OK);
    ComRef<IRibbonExtensibility> ribbon;
    ASSERT_EQ(factory->CreateInstance(nullptr, OfficeIds::IID_RibbonExtensibility, ribbon.PutVoid()), S_OK);
    for (const wchar_t* other : {L"", L"Microsoft.Outlook.Mail.Read", L"Microsoft.PowerPoint.Presentation "}) {
        UniqueBstr id(other), xml;
        EXPECT_EQ(ribbon->GetCustomUI(id.Get(), xml.Put()), S_OK);
        EXPECT_EQ(xml.Get(), nullptr) << UnixChild::Utf8(other);
    }
    RibbonMarkup markup;
    std::wstring error;
    ASSERT_TRUE(PresentationMarkup(ribbon.Get(), markup, error)) << UnixChild::Utf8(error);
    EXPECT_EQ(markup.NamespaceUri(), RibbonMarkup::kNamespace2006) << "read by PowerPoint 2007 and later";
    ASSERT_EQ(markup.Groups().size(), 1u);
    const auto& group = markup.Groups()[0];
    EXPECT_EQ(group.label, L"Vellumark");
    EXPECT_EQ(group.tabIdMso, L"TabHome");
    ASSERT_EQ(group.buttons.size(), 1u);
    const auto& button = group.buttons[0];
    EXPECT_EQ(button.label, L"Vellumark 5.0");
    EXPECT_EQ(button.size, L"large");
    EXPECT_EQ(button.keyTip, L"QV");
    EXPECT_FALSE(button.screenTip.empty() || button.superTip.empty());

    // Both the IDispatch the object hands out and the ribbon interface's own
    // answer every name the markup gives.
    ComRef<IDispatch> dispatch;
    ASSERT_EQ(ribbon->QueryInterface(IID_IDispatch, dispatch.PutVoid()), S_OK);
    for (IDispatch* face : {dispatch.Get(), static_cast<IDispatch*>(ribbon.Get())})
        for (const std::wstring& name : {markup.OnLoad(), button.onAction, button.getImage, std::wstring(L"NoSuch")}) {
            std::wstring buffer = name;
            LPOLESTR names[] = {buffer.data()};
            DISPID dispid = DISPID_UNKNOWN;
            EXPECT_EQ(face->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid),
                      name == L"NoSuch" ? DISP_E_UNKNOWNNAME : S_OK)
                << UnixChild::Utf8(name);
        }

    // Callbacks that cannot do their work raise nothing toward the host: no
    // argument, a clicked button of an add-in not connected, no face to give.
    UniqueVariant result;
    EXPECT_EQ(CallByName(dispatch.Get(), markup.OnLoad(), {}, result.Put()), S_OK);
    EXPECT_FALSE(ClickOpensTheDialog([&] { EXPECT_EQ(CallByName(dispatch.Get(), button.onAction, {}, nullptr), S_OK); }))
        << "a button of an add-in not connected opens nothing";
    ASSERT_EQ(CallByName(dispatch.Get(), button.getImage, {}, result.Put()), S_OK);
    EXPECT_EQ(result.Value().vt, VT_DISPATCH);
    ImportPatch noFace(L"user32.dll", "LoadImageW", reinterpret_cast<void*>(&RefusedLoadImage), library);
    ASSERT_TRUE(noFace.Applied());
    EXPECT_EQ(CallByName(dispatch.Get(), button.getImage, {}, result.Put()), S_OK);
    EXPECT_EQ(result.Value().vt, VT_EMPTY);
}

TEST_F(AddinTest, SecondConnectionFailsAndDisconnectionEndsTheOneSubscription) {
    StandInOptions options;
    options.loadAddins = false;
    StandInSession session(options);
    IClassFactory* factory = nullptr;
    CLSID clsid;
    CLSIDFromString(kClsid, &clsid);
    ASSERT_EQ(Export<GetClassObjectFn>("DllGetClassObject")(clsid, IID_IClassFactory,
                                                            reinterpret_cast<void**>(&factory)),
              S_OK);
    _IDTExtensibility2* addin = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, __uuidof(_IDTExtensibility2), reinterpret_cast<void**>(&addin)), S_OK);
    factory->Release();
    IDispatch* application = &session.Application();
    StandInCommandBars& bars = session.Application().CommandBars();

    ASSERT_EQ(addin->OnConnection(application, 0, nullptr, nullptr), S_OK);
    ASSERT_EQ(bars.Count(), 1u);
    StandInButton& first = bars.At(0).At(0);
    EXPECT_EQ(first.SinkCount(), 1u);
    EXPECT_EQ(addin->OnConnection(application, 0, nullptr, nullptr), E_FAIL);
    EXPECT_EQ(bars.Count(), 1u) << "a second connection builds nothing";
    EXPECT_EQ(first.SinkCount(), 1u);
    // The ribbon's button, like the toolbar's, works from connection to disconnection.
    ComRef<IRibbonExtensibility> ribbon;
    ASSERT_EQ(addin->QueryInterface(OfficeIds::IID_RibbonExtensibility, ribbon.PutVoid()), S_OK);
    RibbonMarkup markup;
    std::wstring error;
    ASSERT_TRUE(PresentationMarkup(ribbon.Get(), markup, error)) << UnixChild::Utf8(error);
    const std::wstring onAction = markup.Groups().at(0).buttons.at(0).onAction;
    const auto ribbonClick = [&] { CallByName(ribbon.Get(), onAction, {}, nullptr); };
    EXPECT_TRUE(ClickOpensTheDialog(ribbonClick)) << "connected";
    EXPECT_EQ(addin->OnDisconnection(0, nullptr), E_NOTIMPL);
    EXPECT_FALSE(ClickOpensTheDialog(ribbonClick)) << "disconnected";
    EXPECT_EQ(first.SinkCount(), 0u) << "the button no longer reaches the add-in";
    EXPECT_EQ(addin->OnDisconnection(0, nullptr), E_NOTIMPL);

    // Connected again after the disconnection: a new toolbar, subscribed.
    ASSERT_EQ(addin->OnConnection(application, 0, nullptr, nullptr), S_OK);
    ASSERT_EQ(bars.Count(), 2u);
    EXPECT_EQ(bars.At(1).At(0).SinkCount(), 1u);
    EXPECT_EQ(addin->OnDisconnection(0, nullptr), E_NOTIMPL);
    EXPECT_EQ(bars.At(1).At(0).SinkCount(), 0u);
    addin->Release();
}

TEST_F(AddinTest, WithoutCommandBarsTheConnectionFailsWithoutEventsTheButtonStillShows) {
    ASSERT_EQ(Export<RegisterFn>("DllRegisterServer")(), S_OK);
    struct Case {
        bool failCommandBars, failAdvise;
        HRESULT connection;  // PowerPoint's failure as its dispatch reports it
        size_t bars;
    };
    for (const Case& c : {Case{true, false, DISP_E_EXCEPTION, 0}, Case{false, true, S_OK, 1}}) {
        StandInOptions options;
        options.failCommandBars = c.failCommandBars;
        options.failAdvise = c.failAdvise;
        StandInSession session(options);
        ASSERT_EQ(session.Host().Addins().Addins().size(), 1u);
        EXPECT_EQ(session.Host().Addins().Addins()[0].connection, c.connection);
        StandInCommandBars& bars = session.Application().CommandBars();
        ASSERT_EQ(bars.Count(), c.bars);
        if (c.bars == 0) continue;
        ASSERT_EQ(bars.At(0).Count(), 1u);
        EXPECT_EQ(bars.At(0).At(0).Caption(), L"Vellumark 5.0");
        EXPECT_EQ(bars.At(0).At(0).SinkCount(), 0u);
    }
}

namespace {
const char kKept[] = "copied before start-up";

void PutTextOnClipboard() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, sizeof kKept);
    memcpy(GlobalLock(text), kKept, sizeof kKept);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
}

void ExpectTextOnClipboard() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    EXPECT_NE(data, nullptr);
    if (data) {
        EXPECT_STREQ(static_cast<const char*>(GlobalLock(data)), kKept);
        GlobalUnlock(data);
    }
    CloseClipboard();
}
}  // namespace

namespace {
// A picture the user copied: a bitmap and an enhanced metafile, which the
// clipboard holds as GDI handles, not as memory blocks.
struct CopiedPicture {
    std::vector<BYTE> metafileBits;
    std::vector<BYTE> bitmapBits;
};

std::vector<BYTE> MetafileBits(HENHMETAFILE metafile) {
    std::vector<BYTE> bits(GetEnhMetaFileBits(metafile, 0, nullptr));
    if (!bits.empty()) GetEnhMetaFileBits(metafile, static_cast<UINT>(bits.size()), bits.data());
    return bits;
}

std::vector<BYTE> BitmapBits(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
    std::vector<BYTE> bits(static_cast<size_t>(info.bmWidthBytes) * info.bmHeight);
    GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
    return bits;
}

CopiedPicture PutPictureOnClipboard() {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    Rectangle(dc, 10, 10, 200, 120);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 8);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (int x = 0; x < 16; ++x) SetPixel(memory, x, x % 8, RGB(200, 10 * x, 40));
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    CopiedPicture copied{MetafileBits(metafile), BitmapBits(bitmap)};
    EXPECT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    EXPECT_NE(SetClipboardData(CF_ENHMETAFILE, metafile), nullptr);
    EXPECT_NE(SetClipboardData(CF_BITMAP, bitmap), nullptr);
    CloseClipboard();
    return copied;
}

void ExpectPictureOnClipboard(const CopiedPicture& copied) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(MetafileBits(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))), copied.metafileBits);
    EXPECT_EQ(BitmapBits(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))), copied.bitmapBits);
    CloseClipboard();
}

// Holds the clipboard open for a window on a thread of its own, as a busy program would.
class ClipboardHolder {
public:
    ClipboardHolder()
        : m_thread([this] {
              HWND window = CreateWindowExW(0, L"STATIC", L"clipboard holder", WS_POPUP, 0, 0, 10, 10, nullptr,
                                            nullptr, nullptr, nullptr);
              m_opened = OpenClipboard(window) != FALSE;
              m_ready = true;
              while (!m_release) Sleep(10);
              if (m_opened) CloseClipboard();
              DestroyWindow(window);
          }) {
        while (!m_ready) Sleep(10);
    }
    ~ClipboardHolder() {
        m_release = true;
        m_thread.join();
    }
    bool Opened() const { return m_opened; }

private:
    std::atomic<bool> m_opened{false}, m_ready{false}, m_release{false};
    std::thread m_thread;
};

StandInButton* OnlyButton(StandInSession& session) {
    auto& bars = session.Application().CommandBars();
    return bars.Count() == 1 && bars.At(0).Count() == 1 ? &bars.At(0).At(0) : nullptr;
}
}  // namespace

TEST_F(AddinTest, HostWithoutPictureGetsThePastedFaceOnlyWhereTheClipboardCanBeRestored) {
    ASSERT_EQ(Export<RegisterFn>("DllRegisterServer")(), S_OK);
    StandInOptions options;
    options.refusePicture = true;
    {
        PutTextOnClipboard();
        StandInSession session(options);
        StandInButton* button = OnlyButton(session);
        ASSERT_NE(button, nullptr);
        EXPECT_NE(button->Face(), nullptr) << "the face came through the clipboard";
        EXPECT_EQ(button->Caption(), L"Vellumark 5.0");
        ExpectTextOnClipboard();
    }
    {
        const CopiedPicture copied = PutPictureOnClipboard();
        ASSERT_FALSE(copied.metafileBits.empty());
        ASSERT_FALSE(copied.bitmapBits.empty());
        StandInSession session(options);
        StandInButton* button = OnlyButton(session);
        ASSERT_NE(button, nullptr) << "the toolbar is built without a face";
        EXPECT_EQ(button->Face(), nullptr) << "a copied picture is never replaced";
        EXPECT_EQ(button->Caption(), L"Vellumark 5.0");
        EXPECT_EQ(button->SinkCount(), 1u);
        ExpectPictureOnClipboard(copied);
    }
    {
        PutTextOnClipboard();
        ClipboardHolder busy;
        ASSERT_TRUE(busy.Opened());
        StandInSession session(options);
        StandInButton* button = OnlyButton(session);
        ASSERT_NE(button, nullptr) << "a busy clipboard costs the face, not the toolbar";
        EXPECT_EQ(button->Face(), nullptr);
        EXPECT_EQ(button->SinkCount(), 1u);
    }
    ExpectTextOnClipboard();
}

TEST_F(AddinTest, PowerPointLoadsItAndGetsTheButtonWithTheUsersClipboardKept) {
    ASSERT_EQ(Export<RegisterFn>("DllRegisterServer")(), S_OK);
    PutTextOnClipboard();

    StandInOptions options;
    auto session = std::make_unique<StandInSession>(options);
    ASSERT_EQ(session->Host().Addins().Addins().size(), 1u);
    EXPECT_EQ(session->Host().Addins().Addins()[0].connection, S_OK);
    StandInCommandBars& bars = session->Application().CommandBars();
    ASSERT_EQ(bars.Count(), 1u);
    StandInCommandBar& bar = bars.At(0);
    EXPECT_EQ(bar.Name(), L"MyAddin");
    EXPECT_EQ(bar.Position(), 1);
    EXPECT_TRUE(bar.Temporary());
    EXPECT_TRUE(bar.Visible());
    ASSERT_EQ(bar.Count(), 1u);
    StandInButton& button = bar.At(0);
    EXPECT_EQ(button.Caption(), L"Vellumark 5.0");
    EXPECT_EQ(button.TooltipText(), L"Vellumark 5.0");
    EXPECT_EQ(button.Tag(), L"Vellumark 5.0");
    EXPECT_EQ(button.Style(), 3);
    EXPECT_TRUE(button.Temporary());
    EXPECT_NE(button.Face(), nullptr);
    BITMAP face{};
    GetObjectW(button.Face(), sizeof face, &face);
    EXPECT_EQ(face.bmWidth, 32);
    EXPECT_EQ(button.SinkCount(), 1u);

    ExpectTextOnClipboard();

    session->Host().Addins().UnloadAll();
    EXPECT_EQ(button.SinkCount(), 0u) << "OnDisconnection unsubscribes";
}

namespace {
// Clicks the button on this thread, which runs the Convert dialog modally; a
// second thread reads the dialog's output folder and closes it.
std::wstring ClickAndReadFolder(const std::function<void()>& click) {
    const DWORD uiThread = GetCurrentThreadId();
    std::wstring folder = L"<no dialog>";
    std::thread closer([&] {
        ConvertDialogDriver driver(uiThread);
        if (!driver.Dialog()) return;
        folder = driver.Text(IDC_OUTPUT_FOLDER);
        driver.SysCommand(SC_CLOSE);
    });
    click();
    closer.join();
    return folder;
}
std::wstring ClickAndReadFolder(StandInButton& button) {
    return ClickAndReadFolder([&] { button.Click(); });
}
}  // namespace

namespace {
// Clicks the button on this thread; true when a Convert dialog opened (it is closed again).
bool ClickOpensTheDialog(const std::function<void()>& click) {
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> returned{false};
    std::atomic<bool> opened{false};
    std::thread closer([&] {
        while (!returned && !opened) {
            if (HWND dialog = ConvertDialogDriver::FindDialog(uiThread, IDC_OUTPUT_FOLDER)) {
                opened = true;
                PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            Sleep(25);
        }
    });
    click();
    returned = true;
    closer.join();
    return opened;
}
bool ClickOpensTheDialog(StandInButton& button) {
    return ClickOpensTheDialog([&] { button.Click(); });
}

// The stand-in's options for a saved deck "Q3.final.pptx" written into `folder`.
StandInOptions OnDeckIn(const std::wstring& folder) {
    StandInOptions options;
    options.deck = folder + L"Q3.final.pptx";
    EXPECT_TRUE(TestFiles::Write(options.deck, "deck"));
    return options;
}
}  // namespace

TEST_F(AddinTest, FailingSaveEndsTheClickWithoutOpeningTheDialog) {
    ASSERT_EQ(Export<RegisterFn>("DllRegisterServer")(), S_OK);
    StandInOptions options = OnDeckIn(TestFiles::NewFolder(L"addin-save"));
    options.failSave = true;
    StandInSession session(options);
    ASSERT_EQ(session.Application().CommandBars().Count(), 1u);
    StandInButton& button = session.Application().CommandBars().At(0).At(0);
    StandInPresentation& deck = *session.Application().Active();
    deck.SetSaved(false);

    MessageBoxWatcher watcher(IDYES);
    EXPECT_FALSE(ClickOpensTheDialog(button)) << "the user asked for a save that failed";
    ASSERT_EQ(watcher.Seen().size(), 2u);
    EXPECT_EQ(watcher.Seen()[1].text, L"The presentation could not be saved.");
    EXPECT_EQ(watcher.Seen()[1].caption, L"Quillset");
    EXPECT_EQ(watcher.Seen()[1].buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(deck.Saved());

    watcher.SetButton(IDNO);
    EXPECT_TRUE(ClickOpensTheDialog(button)) << "without a save the dialog opens";
    EXPECT_EQ(watcher.Seen().size(), 3u);
}

TEST_F(AddinTest, ClickOffersToSaveAndOpensTheConvertDialogOnTheActiveDeck) {
    ASSERT_EQ(Export<RegisterFn>("DllRegisterServer")(), S_OK);
    const std::wstring folder = TestFiles::NewFolder(L"addin-decks");
    StandInSession session(OnDeckIn(folder));
    ASSERT_EQ(session.Application().CommandBars().Count(), 1u);
    StandInButton& button = session.Application().CommandBars().At(0).At(0);
    StandInPresentation& deck = *session.Application().Active();

    EXPECT_EQ(ClickAndReadFolder(button), folder) << "no prompt for a saved deck";
    EXPECT_EQ(deck.SaveCount(), 0);

    struct Case {
        int answer;
        int saves;
    };
    for (const Case& c : {Case{IDNO, 0}, Case{IDYES, 1}}) {
        deck.SetSaved(false);
        MessageBoxWatcher watcher(c.answer);
        EXPECT_EQ(ClickAndReadFolder(button), folder);
        EXPECT_EQ(deck.SaveCount(), c.saves);
        ASSERT_EQ(watcher.Seen().size(), 1u);
        EXPECT_EQ(watcher.Seen()[0].caption, L"Quillset");
        EXPECT_EQ(watcher.Seen()[0].text,
                  L"The program has detected that the File contents have changed.\r\nDo you want to save it?");
        EXPECT_EQ(watcher.Seen()[0].buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(watcher.Seen()[0].icon, static_cast<UINT>(MB_ICONEXCLAMATION));
    }

    // The ribbon's button, clicked or used through its key tip, does the same.
    HWND ribbon = ButtonConversion::LoadedRibbonButton(session.Host());
    ASSERT_NE(ribbon, nullptr);
    HWND powerPoint = session.Host().Window().Handle();
    const std::function<void()> ribbonRoads[] = {[&] { ButtonConversion::ClickRibbonButton(ribbon); },
                                                 [&] { ButtonConversion::TypeKeyTip(powerPoint, L"hqv"); }};
    for (const auto& road : ribbonRoads) {
        deck.SetSaved(false);
        MessageBoxWatcher watcher(IDYES);
        const int saves = deck.SaveCount();
        EXPECT_EQ(ClickAndReadFolder(road), folder);
        EXPECT_EQ(deck.SaveCount(), saves + 1);
        ASSERT_EQ(watcher.Seen().size(), 1u);
        EXPECT_EQ(watcher.Seen()[0].caption, L"Quillset");
    }
    // A key tip of another tab, or one that is not the button's, uses nothing.
    for (const wchar_t* keys : {L"nqv", L"hqx", L"qv"})
        EXPECT_FALSE(ClickOpensTheDialog([&] { ButtonConversion::TypeKeyTip(powerPoint, keys); }))
            << UnixChild::Utf8(keys);

    session.Application().ClosePresentation(&deck);
    EXPECT_EQ(ClickAndReadFolder(button), L"") << "no deck: an empty path";
}

namespace {
std::vector<HWND> ConvertDialogs(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM list) WINAPI -> BOOL {
            if (IsWindowVisible(window) && GetDlgItem(window, IDC_OUTPUT_FOLDER))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A click on the add-in's push button in PowerPoint's window, posted from another thread.
void PostButtonClick(HWND powerPoint) {
    HWND push = FindWindowExW(powerPoint, nullptr, L"Button", L"Vellumark 5.0");
    PostMessageW(powerPoint, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(push), BN_CLICKED), reinterpret_cast<LPARAM>(push));
}
}  // namespace

// PowerPoint 2013 on: a window per presentation, only the dialog's owner disabled.
TEST_F(AddinTest, ASecondClickBringsTheOpenConvertDialogToTheFrontAndOpensNoOther) {
    ASSERT_EQ(Export<RegisterFn>("DllRegisterServer")(), S_OK);
    StandInSession session(StandInOptions{});
    StandInButton* button = ButtonConversion::LoadedButton(session.Host());
    ASSERT_NE(button, nullptr);
    HWND powerPoint = session.Host().Window().Handle();
    HWND ribbon = ButtonConversion::LoadedRibbonButton(session.Host());
    ASSERT_NE(ribbon, nullptr);
    const DWORD uiThread = GetCurrentThreadId();
    size_t dialogsAfterSecondClick = 0, dialogsAfterRibbonClick = 0;
    bool secondClickReturned = false, dialogInFront = false, inFrontAfterRibbonClick = false;
    std::thread user([&] {
        ConvertDialogDriver driver(uiThread);
        if (!driver.Dialog()) return;
        // Another window, as another presentation's, has the focus.
        HWND other = CreateWindowExW(0, L"STATIC", L"another window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300,
                                     200, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        PostButtonClick(powerPoint);
        secondClickReturned = WaitFor([&] { return button->ClicksReturned() == 1; });
        dialogsAfterSecondClick = ConvertDialogs(uiThread).size();
        dialogInFront = GetForegroundWindow() == driver.Dialog();
        // The same through the ribbon's button.
        SetForegroundWindow(other);
        PostMessageW(ribbon, BM_CLICK, 0, 0);
        inFrontAfterRibbonClick = WaitFor([&] { return GetForegroundWindow() == driver.Dialog(); });
        dialogsAfterRibbonClick = ConvertDialogs(uiThread).size();
        DestroyWindow(other);
        for (int round = 0; round < 3 && !ConvertDialogs(uiThread).empty(); ++round) {
            for (HWND dialog : ConvertDialogs(uiThread)) PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            WaitFor([&] { return ConvertDialogs(uiThread).empty(); });
        }
    });
    button->Click();
    user.join();
    EXPECT_TRUE(secondClickReturned) << "the second click opened a dialog of its own";
    EXPECT_EQ(dialogsAfterSecondClick, 1u);
    EXPECT_TRUE(dialogInFront);
    EXPECT_TRUE(inFrontAfterRibbonClick);
    EXPECT_EQ(dialogsAfterRibbonClick, 1u);
    EXPECT_EQ(button->ClicksReturned(), 2);

    // Once the dialog has closed, a click opens it again.
    EXPECT_EQ(ClickAndReadFolder(*button), L"");
}

// PowerPoint closed while a deck prints: its window goes, and with it the
// Convert dialog it owns, and a quit is posted. The click returns only once
// the run is over (the printer restored, the PDF complete), with no crash, and
// the quit is left for PowerPoint's own loop.
TEST_F(AddinTest, ClosingPowerPointDuringAConversionWaitsForTheRunAndDoesNotCrash) {
    ASSERT_EQ(Export<RegisterFn>("DllRegisterServer")(), S_OK);
    const std::wstring folder = TestFiles::NewFolder(L"addin-closing");
    ASSERT_TRUE(CopyFileW(TestFiles::Source(L"samples\\Quarterly review.pptx").c_str(),
                          (folder + L"Quarterly review.pptx").c_str(), FALSE));
    const std::wstring userPrinter = L"Office Laser";
    DefaultPrinter::Set(userPrinter);
    MessageBoxWatcher watcher;
    StandInOptions options;
    options.deck = folder + L"Quarterly review.pptx";
    options.slowPrintSeconds = 4;
    StandInSession session(options);
    StandInButton* button = ButtonConversion::LoadedButton(session.Host());
    ASSERT_NE(button, nullptr);
    HWND powerPoint = session.Host().Window().Handle();
    SetForegroundWindow(powerPoint);
    SetActiveWindow(powerPoint);
    const DWORD uiThread = GetCurrentThreadId();
    bool ownedByPowerPoint = false, printing = false;
    std::thread user([&] {
        ConvertDialogDriver driver(uiThread);
        if (!driver.Dialog()) return;
        ownedByPowerPoint = GetWindow(driver.Dialog(), GW_OWNER) == powerPoint;
        driver.Click(IDOK);
        printing = WaitFor([] { return DefaultPrinter::Get() == L"Inkharbor"; }, 60000);
        PostMessageW(powerPoint, WM_CLOSE, 0, 0);
    });
    button->Click();
    const std::wstring printerAtReturn = DefaultPrinter::Get();
    const std::string pdf = TestFiles::Read(folder + L"Quarterly review.pdf");
    user.join();
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit was swallowed";
    ASSERT_TRUE(ownedByPowerPoint);
    ASSERT_TRUE(printing);
    EXPECT_FALSE(IsWindow(powerPoint));
    EXPECT_EQ(printerAtReturn, userPrinter) << "the click returned before the run was over";
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos) << "the click returned before the run was over";
    EXPECT_TRUE(watcher.Seen().empty());
}
