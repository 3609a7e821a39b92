// The three option pages and the tab control, hosted as the Convert dialog
// hosts them and driven with messages on their own thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "DialogThread.h"
#include "PageHostDlg.h"
#include "WindowShot.h"

namespace {

struct ControlState {
    int id;
    bool enabled;
    int checked;  // BST_*, or -1 for an edit
};

class PageHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        thread = std::make_unique<DialogThread>([this] { host.DoModal(); });
        window = thread->Window();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(thread->WaitForEnd());
        thread.reset();
    }

    static HWND Item(const CWnd& page, int id) { return GetDlgItem(page.GetSafeHwnd(), id); }
    static HWND Label(const CWnd& page, const wchar_t* text) {
        return FindWindowExW(page.GetSafeHwnd(), nullptr, L"Static", text);
    }
    static std::wstring Text(HWND control) {
        wchar_t text[512] = {};
        GetWindowTextW(control, text, 512);
        return text;
    }
    static void Click(const CWnd& page, int id) { SendMessageW(Item(page, id), BM_CLICK, 0, 0); }
    static int Checked(const CWnd& page, int id) {
        return static_cast<int>(SendMessageW(Item(page, id), BM_GETCHECK, 0, 0));
    }
    void Focus(const CWnd& page, HWND control) const {
        SendMessageW(page.GetSafeHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        ASSERT_TRUE(WaitFor([&] { return thread->Focus() == control; }));
    }
    static void Key(HWND control, WPARAM key) {
        PostMessageW(control, WM_KEYDOWN, key, 1);
        PostMessageW(control, WM_KEYUP, key, 0xC0000001);
    }
    // Types one character and waits until it shows: what was posted before it is handled.
    static void Mark(HWND control, wchar_t mark) {
        PostMessageW(control, WM_CHAR, mark, 1);
        ASSERT_TRUE(WaitFor([&] { return Text(control).find(mark) != std::wstring::npos; }));
    }
    static void ExpectControls(const CWnd& page, std::initializer_list<ControlState> states) {
        for (const ControlState& state : states) {
            EXPECT_EQ(IsWindowEnabled(Item(page, state.id)) != FALSE, state.enabled) << "control " << state.id;
            if (state.checked >= 0) {
                EXPECT_EQ(Checked(page, state.id), state.checked) << "control " << state.id;
            }
        }
    }
    void SelectTab(int index) const {
        HWND tabs = host.m_tabCtrl.GetSafeHwnd();
        RECT rect{};
        SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageW(tabs, WM_LBUTTONUP, 0, point);
    }

    // A memory device context for colour requests, opaque until a page says otherwise.
    struct ColourAnswer {
        HBRUSH brush;
        int mode;
        COLORREF background;
    };
    static ColourAnswer AskColour(const CWnd& page, UINT kind, HWND control) {
        HDC dc = CreateCompatibleDC(nullptr);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, RGB(1, 2, 3));
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(page.GetSafeHwnd(), kind, reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(control)));
        ColourAnswer answer{brush, GetBkMode(dc), GetBkColor(dc)};
        DeleteDC(dc);
        return answer;
    }
    static bool IsSolidWhite(HBRUSH brush) {
        LOGBRUSH log{};
        return GetObjectW(brush, sizeof(log), &log) == sizeof(log) && log.lbStyle == BS_SOLID &&
               log.lbColor == RGB(255, 255, 255);
    }
    static HBRUSH NullBrush() { return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)); }
    // A white page with its labels drawn transparently on it.
    static void ExpectWhiteWithTransparentLabel(const CWnd& page, const wchar_t* label) {
        EXPECT_TRUE(IsSolidWhite(AskColour(page, WM_CTLCOLORDLG, page.GetSafeHwnd()).brush));
        ColourAnswer answer = AskColour(page, WM_CTLCOLORSTATIC, Label(page, label));
        EXPECT_EQ(answer.brush, NullBrush());
        EXPECT_EQ(answer.mode, TRANSPARENT);
    }
    void ExpectNothingClosed(const CWnd& page) const {
        EXPECT_EQ(host.m_nOkCount, 0);
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_TRUE(IsWindowVisible(page.GetSafeHwnd()));
    }

    CPageHostDlg host;
    std::unique_ptr<DialogThread> thread;
    HWND window = nullptr;
};

class DescriptionPage : public PageHostTest {};
class SecurityPage : public PageHostTest {};
class AdvancedPage : public PageHostTest {};
class TabControl : public PageHostTest {};

}  // namespace

// --- Description page -------------------------------------------------------

TEST_F(DescriptionPage, OpensEmptyAndHandsBackWhatWasTypedWithLineBreaks) {
    const CWnd& page = host.m_pageDescription;
    for (int id : {IDC_TITLE, IDC_AUTHOR, IDC_SUBJECT, IDC_KEYWORDS}) EXPECT_EQ(Text(Item(page, id)), L"");
    SetWindowTextW(Item(page, IDC_TITLE), L"Quarterly review");
    SetWindowTextW(Item(page, IDC_AUTHOR), L"A. Writer");
    SetWindowTextW(Item(page, IDC_SUBJECT), L"");
    SetWindowTextW(Item(page, IDC_KEYWORDS), L"one\r\ntwo (three)");
    ASSERT_TRUE(host.m_pageDescription.UpdateData(true));
    EXPECT_EQ(host.m_pageDescription.m_strTitle, L"Quarterly review");
    EXPECT_EQ(host.m_pageDescription.m_strAuthor, L"A. Writer");
    EXPECT_EQ(host.m_pageDescription.m_strSubject, L"");
    EXPECT_EQ(host.m_pageDescription.m_strKeywords, L"one\r\ntwo (three)");
}

TEST_F(DescriptionPage, TabRunsAuthorTitleSubjectKeywords) {
    const CWnd& page = host.m_pageDescription;
    Focus(page, Item(page, IDC_AUTHOR));
    for (int next : {IDC_TITLE, IDC_SUBJECT, IDC_KEYWORDS}) {
        Key(thread->Focus(), VK_TAB);
        EXPECT_TRUE(WaitFor([&] { return thread->Focus() == Item(page, next); })) << "to " << next;
    }
}

TEST_F(DescriptionPage, ReturnBreaksTheKeywordsLineAndEnterOrEscapeElsewhereCloseNothing) {
    const CWnd& page = host.m_pageDescription;
    HWND keywords = Item(page, IDC_KEYWORDS);
    Focus(page, keywords);
    Mark(keywords, L'a');
    Key(keywords, VK_RETURN);  // the line break arrives as a character, after the key
    ASSERT_TRUE(WaitFor([&] { return Text(keywords) == L"a\r\n"; }));
    Mark(keywords, L'b');
    EXPECT_EQ(Text(keywords), L"a\r\nb");
    Key(keywords, VK_ESCAPE);  // a multi-line edit turns Escape into a close of its dialog
    Mark(keywords, L'c');

    HWND title = Item(page, IDC_TITLE);
    Focus(page, title);
    Key(title, VK_RETURN);
    Key(title, VK_ESCAPE);
    Mark(title, L'x');
    EXPECT_EQ(Text(title), L"x");
    ExpectNothingClosed(page);
}

TEST_F(DescriptionPage, AnswersColourRequestsWhiteAndTransparent) {
    const CWnd& page = host.m_pageDescription;
    ExpectWhiteWithTransparentLabel(page, L"Title:");
    ColourAnswer edit = AskColour(page, WM_CTLCOLOREDIT, Item(page, IDC_TITLE));
    EXPECT_EQ(edit.brush, GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(edit.mode, OPAQUE);
}

// --- Security page ----------------------------------------------------------

namespace {
const int kPermissions[] = {IDC_FORM_FILLING, IDC_CONTENT_COPYING, IDC_CHANGING, IDC_PRINTING};
}

TEST_F(SecurityPage, OpensWithEverythingButTheMasterBoxDisabled) {
    const CWnd& page = host.m_pageSecurity;
    ExpectControls(page, {{IDC_ENABLE_SECURITY, true, BST_UNCHECKED},
                          {IDC_ENABLE_USER_PASSWORD, false, BST_UNCHECKED},
                          {IDC_ENABLE_OWNER_PASSWORD, false, BST_UNCHECKED},
                          {IDC_USER_PASSWORD, false, -1},
                          {IDC_OWNER_PASSWORD, false, -1},
                          {IDC_ENCRYPTION_LOW, false, BST_CHECKED},
                          {IDC_ENCRYPTION_HIGH, false, BST_UNCHECKED}});
    for (int id : kPermissions) ExpectControls(page, {{id, false, BST_UNCHECKED}});
    EXPECT_EQ(Text(Item(page, IDC_USER_PASSWORD)), L"");
    EXPECT_EQ(Text(Item(page, IDC_OWNER_PASSWORD)), L"");
}

TEST_F(SecurityPage, CascadeWalksTheFiveStates) {
    const CWnd& page = host.m_pageSecurity;
    Click(page, IDC_ENABLE_SECURITY);  // security on, no password
    ExpectControls(page, {{IDC_ENABLE_SECURITY, true, BST_CHECKED},
                          {IDC_ENABLE_USER_PASSWORD, true, BST_UNCHECKED},
                          {IDC_ENABLE_OWNER_PASSWORD, true, BST_UNCHECKED},
                          {IDC_USER_PASSWORD, false, -1},
                          {IDC_OWNER_PASSWORD, false, -1},
                          {IDC_ENCRYPTION_LOW, true, BST_CHECKED},
                          {IDC_ENCRYPTION_HIGH, true, BST_UNCHECKED}});
    for (int id : kPermissions) ExpectControls(page, {{id, true, BST_UNCHECKED}});

    Click(page, IDC_ENABLE_USER_PASSWORD);  // user password on: owner follows
    ExpectControls(page, {{IDC_ENABLE_USER_PASSWORD, true, BST_CHECKED},
                          {IDC_ENABLE_OWNER_PASSWORD, true, BST_CHECKED},
                          {IDC_USER_PASSWORD, true, -1},
                          {IDC_OWNER_PASSWORD, true, -1}});

    Click(page, IDC_ENABLE_OWNER_PASSWORD);  // owner box unchecked by the user
    ExpectControls(page, {{IDC_ENABLE_USER_PASSWORD, true, BST_CHECKED},
                          {IDC_ENABLE_OWNER_PASSWORD, true, BST_UNCHECKED},
                          {IDC_USER_PASSWORD, true, -1},
                          {IDC_OWNER_PASSWORD, false, -1}});

    Click(page, IDC_ENABLE_USER_PASSWORD);  // user password off again
    ExpectControls(page, {{IDC_ENABLE_USER_PASSWORD, true, BST_UNCHECKED},
                          {IDC_ENABLE_OWNER_PASSWORD, true, BST_UNCHECKED},
                          {IDC_USER_PASSWORD, false, -1},
                          {IDC_OWNER_PASSWORD, false, -1}});

    Click(page, IDC_ENABLE_OWNER_PASSWORD);  // owner password only
    ExpectControls(page, {{IDC_ENABLE_USER_PASSWORD, true, BST_UNCHECKED},
                          {IDC_ENABLE_OWNER_PASSWORD, true, BST_CHECKED},
                          {IDC_USER_PASSWORD, false, -1},
                          {IDC_OWNER_PASSWORD, true, -1}});
}

TEST_F(SecurityPage, SecurityOffUnchecksPasswordsButKeepsTextsPermissionsAndLevel) {
    const CWnd& page = host.m_pageSecurity;
    Click(page, IDC_ENABLE_SECURITY);
    Click(page, IDC_ENABLE_USER_PASSWORD);
    SetWindowTextW(Item(page, IDC_USER_PASSWORD), L"user");
    SetWindowTextW(Item(page, IDC_OWNER_PASSWORD), L"owner");
    Click(page, IDC_CONTENT_COPYING);
    Click(page, IDC_PRINTING);
    Click(page, IDC_ENCRYPTION_HIGH);

    Click(page, IDC_ENABLE_SECURITY);  // off
    ExpectControls(page, {{IDC_ENABLE_USER_PASSWORD, false, BST_UNCHECKED},
                          {IDC_ENABLE_OWNER_PASSWORD, false, BST_UNCHECKED},
                          {IDC_USER_PASSWORD, false, -1},
                          {IDC_OWNER_PASSWORD, false, -1},
                          {IDC_CONTENT_COPYING, false, BST_CHECKED},
                          {IDC_PRINTING, false, BST_CHECKED},
                          {IDC_ENCRYPTION_HIGH, false, BST_CHECKED}});
    EXPECT_EQ(host.m_pageSecurity.m_bSecurity, 0);
    EXPECT_EQ(host.m_pageSecurity.m_bUserPassword, 0);

    Click(page, IDC_ENABLE_SECURITY);  // on again
    ExpectControls(page, {{IDC_CONTENT_COPYING, true, BST_CHECKED},
                          {IDC_FORM_FILLING, true, BST_UNCHECKED},
                          {IDC_CHANGING, true, BST_UNCHECKED},
                          {IDC_PRINTING, true, BST_CHECKED},
                          {IDC_ENCRYPTION_HIGH, true, BST_CHECKED}});
    Click(page, IDC_ENABLE_USER_PASSWORD);
    const CSecurityDlg& security = host.m_pageSecurity;
    EXPECT_EQ(security.m_bSecurity, 1);
    EXPECT_EQ(security.m_bUserPassword, 1);
    EXPECT_EQ(security.m_bOwnerPassword, 1);
    EXPECT_EQ(security.m_strUserPassword, L"user");
    EXPECT_EQ(security.m_strOwnerPassword, L"owner");
    EXPECT_EQ(security.m_bCopying, 1);
    EXPECT_EQ(security.m_bFormFilling, 0);
    EXPECT_EQ(security.m_bChanging, 0);
    EXPECT_EQ(security.m_bPrinting, 1);
    EXPECT_EQ(security.m_nEncryptionLevel, 1);
}

TEST_F(SecurityPage, AnswersColourRequestsWhiteForButtonsDefaultForEdits) {
    const CWnd& page = host.m_pageSecurity;
    EXPECT_TRUE(IsSolidWhite(AskColour(page, WM_CTLCOLORDLG, page.GetSafeHwnd()).brush));
    for (int id : {IDC_ENABLE_SECURITY, IDC_ENCRYPTION_LOW}) {
        ColourAnswer button = AskColour(page, WM_CTLCOLORSTATIC, Item(page, id));
        EXPECT_TRUE(IsSolidWhite(button.brush)) << id;
        EXPECT_EQ(button.background, RGB(255, 255, 255)) << id;
    }
    ColourAnswer group = AskColour(page, WM_CTLCOLORSTATIC, FindWindowExW(page.GetSafeHwnd(), nullptr, L"Button",
                                                                        L"Allowed Actions"));
    EXPECT_TRUE(IsSolidWhite(group.brush));
    // A disabled password edit keeps its default, greyed look.
    ColourAnswer edit = AskColour(page, WM_CTLCOLORSTATIC, Item(page, IDC_USER_PASSWORD));
    EXPECT_FALSE(IsSolidWhite(edit.brush));
    EXPECT_NE(edit.background, RGB(255, 255, 255));
}

// --- Advanced page ----------------------------------------------------------

TEST_F(AdvancedPage, ListsHoldTheirEntriesInOrderWithTheFirstSelected) {
    const CWnd& page = host.m_pageAdvanced;
    const std::vector<std::pair<int, std::vector<std::wstring>>> lists = {
        {IDC_PAGE_LAYOUT, {L"Continuous"}},
        {IDC_PAGE_MODE, {L"Normal"}},
        {IDC_DOCUMENT_COMPRESSION, {L"Flate", L"LZW"}},
        {IDC_IMAGE_COMPRESSION, {L"Flate", L"JPEG", L"Automatic"}},
        {IDC_JPEG_QUALITY, {L"Minimum", L"Low", L"Medium", L"Maximum"}},
        {IDC_PDF_VERSION, {L"V1.3(Acrobat 4.xx)", L"V1.4(Acrobat 4.xx)", L"V1.5(Acrobat 4.xx)"}},
    };
    for (const auto& [id, entries] : lists) {
        HWND list = Item(page, id);
        std::vector<std::wstring> shown;
        const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[64] = {};
            SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            shown.push_back(text);
        }
        EXPECT_EQ(shown, entries) << "list " << id;
        EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 0) << "list " << id;
        EXPECT_EQ(Text(list), entries.front()) << "list " << id;
        EXPECT_TRUE(IsWindowEnabled(list)) << "list " << id;
        // Editable drop-downs, in the order given.
        EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & 3, CBS_DROPDOWN) << "list " << id;
    }
    EXPECT_EQ(Checked(page, IDC_ALTERNATE_EMF), BST_UNCHECKED);
    EXPECT_TRUE(IsWindowEnabled(Item(page, IDC_ALTERNATE_EMF)));
}

TEST_F(AdvancedPage, ConversionTakesTheTextTheListShowsPickedOrTyped) {
    const CAdvancedDlg& page = host.m_pageAdvanced;
    EXPECT_EQ(page.DocumentCompressionText(), L"Flate");
    EXPECT_EQ(page.ImageCompressionText(), L"Flate");
    EXPECT_EQ(page.JpegQualityText(), L"Minimum");
    EXPECT_EQ(page.PdfVersionText(), L"V1.3(Acrobat 4.xx)");

    SendMessageW(Item(page, IDC_DOCUMENT_COMPRESSION), CB_SETCURSEL, 1, 0);
    SendMessageW(Item(page, IDC_PDF_VERSION), CB_SETCURSEL, 2, 0);
    EXPECT_EQ(page.DocumentCompressionText(), L"LZW");
    EXPECT_EQ(page.PdfVersionText(), L"V1.5(Acrobat 4.xx)");

    // Typed into the field: no entry is selected, and the typed text is what counts.
    HWND quality = Item(page, IDC_JPEG_QUALITY);
    HWND field = FindWindowExW(quality, nullptr, L"Edit", nullptr);
    ASSERT_NE(field, nullptr);
    Focus(page, field);
    SendMessageW(field, EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"High")) PostMessageW(field, WM_CHAR, c, 1);
    ASSERT_TRUE(WaitFor([&] { return Text(field) == L"High"; }));
    EXPECT_EQ(page.JpegQualityText(), L"High");
    EXPECT_EQ(page.ImageCompressionText(), L"Flate");  // the other lists are untouched
}

TEST_F(AdvancedPage, EnterAndEscapeInAListCloseNothing) {
    const CWnd& page = host.m_pageAdvanced;
    HWND field = FindWindowExW(Item(page, IDC_PDF_VERSION), nullptr, L"Edit", nullptr);
    ASSERT_NE(field, nullptr);
    SelectTab(2);
    Focus(page, field);
    Key(field, VK_RETURN);
    Key(field, VK_ESCAPE);
    Mark(field, L'!');
    ExpectNothingClosed(page);
}

TEST_F(AdvancedPage, AnswersColourRequestsTransparentLabelsDefaultCheckBoxAndFields) {
    const CWnd& page = host.m_pageAdvanced;
    ExpectWhiteWithTransparentLabel(page, L"PDF Version");
    ColourAnswer box = AskColour(page, WM_CTLCOLORSTATIC, Item(page, IDC_ALTERNATE_EMF));
    EXPECT_NE(box.brush, NullBrush());
    EXPECT_EQ(box.mode, OPAQUE);
    HWND field = FindWindowExW(Item(page, IDC_JPEG_QUALITY), nullptr, L"Edit", nullptr);
    ColourAnswer fieldAnswer = AskColour(page, WM_CTLCOLORSTATIC, field);
    EXPECT_NE(fieldAnswer.brush, NullBrush());
    EXPECT_EQ(fieldAnswer.mode, OPAQUE);
}

// --- Tab control ------------------------------------------------------------

TEST_F(TabControl, ShowsOneChildPageInTheDisplayAreaPerTab) {
    HWND tabs = host.m_tabCtrl.GetSafeHwnd();
    const CWnd* pages[] = {&host.m_pageDescription, &host.m_pageSecurity, &host.m_pageAdvanced};
    const wchar_t* texts[] = {L"Description", L"Security", L"Advanced"};
    const char* shots[] = {"description-page", "security-page", "advanced-page"};
    RECT client{};
    GetClientRect(tabs, &client);
    for (int tab = 0; tab < 3; ++tab) {
        wchar_t text[32] = {};
        TCITEMW item{TCIF_TEXT, 0, 0, text, 32, 0, 0};
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, texts[tab]);

        SelectTab(tab);
        EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), tab);
        for (int other = 0; other < 3; ++other) {
            HWND page = pages[other]->GetSafeHwnd();
            EXPECT_EQ(GetParent(page), tabs);
            EXPECT_EQ(IsWindowVisible(page) != FALSE, other == tab) << "tab " << tab << ", page " << other;
        }
        RECT placed{};
        GetWindowRect(pages[tab]->GetSafeHwnd(), &placed);
        MapWindowPoints(nullptr, tabs, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(placed.left, client.left + 1);
        EXPECT_EQ(placed.top, client.top + 25);
        EXPECT_EQ(placed.right, client.right - 4);
        EXPECT_EQ(placed.bottom, client.bottom - 4);
        EXPECT_TRUE(WindowShot::Save(window, shots[tab]));
    }
}

TEST_F(TabControl, ErasingTheBackgroundDrawsNothingAndReportsDone) {
    HWND tabs = host.m_tabCtrl.GetSafeHwnd();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF marker = RGB(10, 200, 30);
    SetPixel(dc, 5, 40, marker);
    EXPECT_NE(SendMessageW(tabs, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    EXPECT_EQ(GetPixel(dc, 5, 40), marker);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
