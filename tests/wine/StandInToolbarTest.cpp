// The stand-in's command bars as an add-in meets them: a toolbar with a button
// built through IDispatch, shown in PowerPoint's window, whose click reaches the
// subscribed sinks with the button and a CancelDefault flag.
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AutomationObject.h"
#include "DispatchCall.h"
#include "OfficeIds.h"
#include "RibbonMarkup.h"
#include "StandInButton.h"
#include "StandInSession.h"
#include "UnixChild.h"

namespace {

// Records each Click: whether it carried the button and a by-reference flag.
class ClickSink : public AutomationObject {
public:
    ClickSink() : AutomationObject({OfficeIds::IID_CommandBarButtonEvents}) {
        AddMethod(L"Click", 1, [this](const AutomationArgs& args, VARIANT*) {
            const VARIANT* cancel = args.At(1);
            clicks.push_back({args.Object(0), cancel && cancel->vt == (VT_BYREF | VT_BOOL)});
        });
    }
    struct Click {
        IUnknown* control;
        bool cancelByReference;
    };
    std::vector<Click> clicks;
};

HWND FindPushButton(HWND parent, const std::wstring& caption) {
    struct Search {
        std::wstring caption;
        HWND found;
    } search{caption, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) WINAPI -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t text[64] = {};
            GetWindowTextW(child, text, 64);
            if (s->caption == text && IsWindowVisible(child)) s->found = child;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

ComRef<IDispatch> AddButton(IDispatch* application) {
    ComRef<IDispatch> bars, bar, controls, button;
    auto name = UniqueVariant::String(L"MyAddin"), top = UniqueVariant::Int(1), missing = UniqueVariant::Missing(),
         temporary = UniqueVariant::Short(-1), type = UniqueVariant::Int(1);
    UniqueVariant barValue, buttonValue;
    EXPECT_EQ(DispatchCall(application).GetDispatch(L"CommandBars", bars), S_OK);
    EXPECT_EQ(DispatchCall(bars.Get()).Method(L"Add", {name.Get(), top.Get(), missing.Get(), temporary.Get()},
                                              barValue.Put()),
              S_OK);
    bar = ComRef<IDispatch>(barValue.Value().pdispVal);
    EXPECT_EQ(DispatchCall(bar.Get()).GetDispatch(L"Controls", controls), S_OK);
    EXPECT_EQ(DispatchCall(controls.Get())
                  .Method(L"Add", {type.Get(), missing.Get(), missing.Get(), missing.Get(), temporary.Get()},
                          buttonValue.Put()),
              S_OK);
    button = ComRef<IDispatch>(buttonValue.Value().pdispVal);
    auto caption = UniqueVariant::String(L"Vellumark 5.0"), on = UniqueVariant::Bool(true);
    EXPECT_EQ(DispatchCall(button.Get()).Put(L"Caption", caption.Get()), S_OK);
    EXPECT_EQ(DispatchCall(bar.Get()).Put(L"Visible", on.Get()), S_OK);
    return button;
}

}  // namespace

TEST(StandInToolbar, WindowButtonClickReachesSubscribedSinksUntilUnadvised) {
    StandInOptions options;
    options.loadAddins = false;
    StandInSession session(options);
    ComRef<IDispatch> button = AddButton(&session.Application());

    ComRef<IConnectionPointContainer> container;
    ASSERT_EQ(button.QueryTo(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
    ComRef<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(OfficeIds::IID_CommandBarButtonEvents, point.Put()), S_OK);
    auto sink = ComRef<ClickSink>::Attach(new ClickSink);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(static_cast<IDispatch*>(sink.Get()), &cookie), S_OK);

    HWND push = nullptr;
    ASSERT_TRUE(StandInSession::PumpUntil(
        [&] { return (push = FindPushButton(session.Host().Window().Handle(), L"Vellumark 5.0")) != nullptr; },
        5000));
    SendMessageW(push, BM_CLICK, 0, 0);
    ASSERT_EQ(sink->clicks.size(), 1u);
    ComRef<IUnknown> clicked, expected;
    sink->clicks[0].control->QueryInterface(IID_IUnknown, clicked.PutVoid());
    button->QueryInterface(IID_IUnknown, expected.PutVoid());
    EXPECT_EQ(clicked.Get(), expected.Get());
    EXPECT_TRUE(sink->clicks[0].cancelByReference);

    ASSERT_EQ(point->Unadvise(cookie), S_OK);
    SendMessageW(push, BM_CLICK, 0, 0);
    EXPECT_EQ(sink->clicks.size(), 1u) << "no click after Unadvise";
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
}

// The stand-in reads an add-in's ribbon markup as strictly as PowerPoint: any
// fault refuses the whole document, so an add-in whose markup it takes is one
// PowerPoint takes too.
TEST(StandInToolbar, RibbonMarkupIsRefusedWhereverPowerPointRefusesIt) {
    const std::wstring ns2006 = L"http://schemas.microsoft.com/office/2006/01/customui";
    const auto document = [](const std::wstring& ns, const std::wstring& button) {
        return L"<customUI xmlns=\"" + ns + L"\" onLoad=\"Loaded\"><ribbon><tabs><tab idMso=\"TabHome\">"
               L"<group id=\"G\" label=\"Group\">" + button + L"</group></tab></tabs></ribbon></customUI>";
    };
    const std::wstring good = L"<button id=\"B\" label=\"Go\" size=\"large\" keytip=\"QV\" onAction=\"Act\"/>";
    const struct {
        std::wstring xml;
        bool taken;
    } rows[] = {
        {document(ns2006, good), true},
        {document(L"http://schemas.microsoft.com/office/2009/07/customui", good), true},
        {document(L"http://schemas.microsoft.com/office/2006/01/customUI", good), false},  // namespaces are exact
        {document(L"", good), false},
        {document(ns2006, L"<button id=\"B\" label=\"Go\" size=\"large\"/>"), false},  // no onAction
        {document(ns2006, L"<button id=\"B\" onAction=\"Act\"/>"), false},            // no label
        {document(ns2006, L"<button label=\"Go\" onAction=\"Act\"/>"), false},        // no id
        {document(ns2006, L"<button id=\"B\" label=\"Go\" onAction=\"Act\" colour=\"red\"/>"), false},
        {document(ns2006, L"<button id=\"B\" label=\"Go\" onAction=\"Act\" keytip=\"QVXY\"/>"), false},
        {document(ns2006, L"<toggle id=\"B\" label=\"Go\" onAction=\"Act\"/>"), false},  // not in its schema here
        {document(ns2006, good + good), false},                                           // an id twice
        {document(ns2006, L"<button id=\"B\" label=\"Go\" onAction=\"Act\">"), false},    // not well formed
        {document(ns2006, good).substr(0, 40), false},
        {L"<ribbon xmlns=\"" + ns2006 + L"\"/>", false},  // no customUI around it
        {L"", false},
    };
    for (const auto& row : rows) {
        RibbonMarkup markup;
        std::wstring error;
        EXPECT_EQ(markup.Parse(row.xml, error), row.taken) << UnixChild::Utf8(row.xml);
        EXPECT_EQ(error.empty(), row.taken) << UnixChild::Utf8(error);
    }
    RibbonMarkup markup;
    std::wstring error;
    ASSERT_TRUE(markup.Parse(document(ns2006, good), error));
    EXPECT_EQ(markup.OnLoad(), L"Loaded");
    ASSERT_EQ(markup.Groups().size(), 1u);
    EXPECT_EQ(markup.Groups()[0].tabIdMso, L"TabHome");
    ASSERT_EQ(markup.Groups()[0].buttons.size(), 1u);
    EXPECT_EQ(markup.Groups()[0].buttons[0].onAction, L"Act");
    EXPECT_EQ(markup.Groups()[0].buttons[0].keyTip, L"QV");
}
