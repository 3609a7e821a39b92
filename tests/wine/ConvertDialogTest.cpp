// The Convert dialog before any conversion: what it shows when it opens, its
// colours and white panels, the refusals of "Convert" that start nothing, and
// closing it while idle.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "AppMessageBox.h"
#include "ConvertDialogSession.h"
#include "GhostscriptRun.h"
#include "MessageBoxWatcher.h"
#include "TestFiles.h"
#include "UniqueHandle.h"
#include "UnixChild.h"

namespace {

const wchar_t kWrongPath[] = L"Wrong Path cause wrong, Input a valid file path!";
const wchar_t kOwnerPassword[] = L"Please Input OwnerPassword";

struct DeviceContextTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type dc) { DeleteDC(dc); }
};

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

std::wstring TabText(HWND tabs, int index) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

// The rectangle of `window` in the client coordinates of `parent`.
RECT RectIn(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// A visible window of `threadId` owned by `owner`; null if none.
HWND OwnedWindow(DWORD threadId, HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        threadId,
        [](HWND window, LPARAM param) WINAPI -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != s->owner) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FocusOf(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

class ConvertDialog : public ::testing::Test {
protected:
    void Open(const std::wstring& presentationPath) {
        session = std::make_unique<ConvertDialogSession>(presentationPath, StandInOptions{});
        dialog = Driver().Dialog();
        ASSERT_NE(dialog, nullptr);
    }
    ConvertDialogDriver& Driver() { return session->Driver(); }

    // Presses "Convert" and returns the text of the message box it shows.
    std::wstring ConvertRefusal() {
        const size_t before = watcher.Seen().size();
        Driver().Click(IDOK);
        if (!WaitFor([&] { return watcher.Seen().size() > before; })) return L"(no message box)";
        EXPECT_EQ(watcher.Seen().back().caption, AppMessageBox::Caption());
        EXPECT_EQ(watcher.Seen().back().buttons, std::vector<int>{IDOK});
        EXPECT_EQ(watcher.Seen().back().icon, 0u);
        return watcher.Seen().back().text;
    }

    void ExpectNothingStarted() {
        EXPECT_EQ(Driver().Status(), L"Not Started");
        EXPECT_EQ(session->Dialog().m_bConverting, 0);
    }

    MessageBoxWatcher watcher;
    std::unique_ptr<ConvertDialogSession> session;
    HWND dialog = nullptr;
};

}  // namespace

TEST_F(ConvertDialog, OpensOnThePresentationsFolderWithItsIconLabelsAndThreePages) {
    Open(L"C:\\Decks\\Q3.final.pptx");
    EXPECT_EQ(WindowText(dialog), L"Vellumark 5.0");
    EXPECT_EQ(Driver().Text(IDC_OUTPUT_FOLDER), L"C:\\Decks\\");
    EXPECT_EQ(session->Dialog().m_strOutputFolder, L"C:\\Decks\\");
    EXPECT_EQ(Driver().Status(), L"Not Started");
    EXPECT_EQ(Driver().Text(IDOK), L"Convert");
    EXPECT_EQ(GetDlgItem(dialog, IDCANCEL), nullptr) << "there is no Cancel button";
    EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0), 0);

    const LOGFONTW dialogFont = FontOf(dialog);
    for (int id : {IDC_OUTPUT_LABEL, IDC_STATUS_LABEL}) {
        const LOGFONTW label = FontOf(GetDlgItem(dialog, id));
        EXPECT_EQ(label.lfHeight, dialogFont.lfHeight + 2) << id;
        EXPECT_EQ(label.lfWidth, dialogFont.lfWidth + 3) << id;
        EXPECT_EQ(label.lfWeight, 3) << id;
        EXPECT_EQ(std::wstring(label.lfFaceName), dialogFont.lfFaceName) << id;
    }

    HWND tabs = GetDlgItem(dialog, IDC_CONVERT_TABS);
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(TabText(tabs, 0), L"Description");
    EXPECT_EQ(TabText(tabs, 1), L"Security");
    EXPECT_EQ(TabText(tabs, 2), L"Advanced");
    RECT client{};
    GetClientRect(tabs, &client);
    const RECT page = RectIn(Driver().Page(0), tabs);
    EXPECT_EQ(page.left, client.left + 1);
    EXPECT_EQ(page.top, client.top + 25);
    EXPECT_EQ(page.right, client.right - 4);
    EXPECT_EQ(page.bottom, client.bottom - 4);
    for (int shown : {0, 2, 1, 0}) {
        Driver().SelectTab(shown);
        for (int tab = 0; tab < 3; ++tab)
            EXPECT_EQ(IsWindowVisible(Driver().Page(tab)) != FALSE, tab == shown) << shown << " " << tab;
    }
    EXPECT_TRUE(watcher.Seen().empty());
}

TEST_F(ConvertDialog, TabRunsFromTheFolderToBrowseAndConvertPastTheTabStrip) {
    Open(L"C:\\Decks\\Q3.final.pptx");
    HWND folder = GetDlgItem(dialog, IDC_OUTPUT_FOLDER);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(folder), TRUE);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(Driver().ThreadId()) == folder; }));
    for (int next : {IDC_BROWSE, IDOK, IDC_OUTPUT_FOLDER, IDC_BROWSE}) {
        HWND from = FocusOf(Driver().ThreadId());
        PostMessageW(from, WM_KEYDOWN, VK_TAB, 1);
        PostMessageW(from, WM_KEYUP, VK_TAB, 0xC0000001);
        EXPECT_TRUE(WaitFor([&] { return FocusOf(Driver().ThreadId()) == GetDlgItem(dialog, next); }))
            << "to " << next << ", focus on " << GetDlgCtrlID(FocusOf(Driver().ThreadId()));
    }
    EXPECT_TRUE(watcher.Seen().empty());
}

TEST_F(ConvertDialog, LabelsAreTransparentTheOutputLabelDarkRedOnTwoWhitePanels) {
    Open(L"C:\\Decks\\Q3.final.pptx");
    UniqueHandle<DeviceContextTraits> dc(CreateCompatibleDC(nullptr));
    auto answer = [&](UINT kind, int id) {
        SetBkMode(dc.Get(), OPAQUE);
        SetTextColor(dc.Get(), RGB(1, 2, 3));
        return reinterpret_cast<HBRUSH>(SendMessageW(dialog, kind, reinterpret_cast<WPARAM>(dc.Get()),
                                                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id))));
    };
    const auto nullBrush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    EXPECT_EQ(answer(WM_CTLCOLORSTATIC, IDC_OUTPUT_LABEL), nullBrush);
    EXPECT_EQ(GetTextColor(dc.Get()), RGB(190, 0, 0));
    EXPECT_EQ(GetBkMode(dc.Get()), TRANSPARENT);
    for (int id : {IDC_STATUS, IDC_STATUS_LABEL, IDC_UPPER_FRAME}) {
        EXPECT_EQ(answer(WM_CTLCOLORSTATIC, id), nullBrush) << id;
        EXPECT_EQ(GetTextColor(dc.Get()), GetSysColor(COLOR_WINDOWTEXT)) << id;
        EXPECT_EQ(GetBkMode(dc.Get()), TRANSPARENT) << id;
    }
    EXPECT_NE(answer(WM_CTLCOLOREDIT, IDC_OUTPUT_FOLDER), nullBrush);
    EXPECT_EQ(GetBkMode(dc.Get()), OPAQUE);

    // Inside each frame, left of its controls, is white; between the frames is not.
    const RECT upper = RectIn(GetDlgItem(dialog, IDC_UPPER_FRAME), dialog);
    const RECT lower = RectIn(GetDlgItem(dialog, IDC_LOWER_FRAME), dialog);
    const COLORREF white = RGB(255, 255, 255);
    EXPECT_TRUE(WaitFor(
        [&] {
            return ScreenPixel(dialog, upper.left + 5, (upper.top + upper.bottom) / 2) == white &&
                   ScreenPixel(dialog, lower.left + 5, (lower.top + lower.bottom) / 2) == white;
        },
        5000));
    EXPECT_NE(ScreenPixel(dialog, (upper.left + upper.right) / 2, upper.bottom + 2), white);
}

TEST_F(ConvertDialog, PathWithoutAFolderStartsEmptyAndConvertRefuses) {
    Open(L"deck.pptx");
    EXPECT_EQ(Driver().Text(IDC_OUTPUT_FOLDER), L"");
    EXPECT_EQ(ConvertRefusal(), kWrongPath);
    ExpectNothingStarted();
}

TEST_F(ConvertDialog, OutputFolderMustBeAnExistingDirectory) {
    const std::wstring folder = TestFiles::NewFolder(L"convert-dialog");
    ASSERT_TRUE(TestFiles::Write(folder + L"a file.txt", "x"));
    Open(folder + L"Q3.final.pptx");
    EXPECT_EQ(Driver().Text(IDC_OUTPUT_FOLDER), folder);
    for (const std::wstring& text : {folder + L"missing\\", folder + L"missing", folder + L"a file.txt"}) {
        Driver().SetText(IDC_OUTPUT_FOLDER, text);
        EXPECT_EQ(ConvertRefusal(), kWrongPath);
        EXPECT_EQ(Driver().Text(IDC_OUTPUT_FOLDER), text);
    }
    ExpectNothingStarted();
}

TEST_F(ConvertDialog, PasswordsAreCheckedAndAUserPasswordNeedsAnOwnerPassword) {
    Open(L"C:\\Decks\\Q3.final.pptx");
    Driver().SelectTab(1);
    Driver().ClickOnPage(1, IDC_ENABLE_SECURITY);
    Driver().ClickOnPage(1, IDC_ENABLE_OWNER_PASSWORD);
    EXPECT_EQ(ConvertRefusal(), kOwnerPassword);

    Driver().SetTextOnPage(1, IDC_OWNER_PASSWORD, L"owner");
    Driver().ClickOnPage(1, IDC_ENABLE_USER_PASSWORD);
    EXPECT_EQ(ConvertRefusal(), L"Please Input UserPassword");

    // User password given, owner password emptied and its box cleared.
    Driver().SetTextOnPage(1, IDC_USER_PASSWORD, L"user");
    Driver().SetTextOnPage(1, IDC_OWNER_PASSWORD, L"");
    Driver().ClickOnPage(1, IDC_ENABLE_OWNER_PASSWORD);
    ASSERT_FALSE(Driver().IsCheckedOnPage(1, IDC_ENABLE_OWNER_PASSWORD));
    ASSERT_FALSE(IsWindowEnabled(Driver().PageItem(1, IDC_OWNER_PASSWORD)));
    EXPECT_EQ(ConvertRefusal(), kOwnerPassword);
    EXPECT_TRUE(Driver().IsCheckedOnPage(1, IDC_ENABLE_OWNER_PASSWORD));
    EXPECT_TRUE(IsWindowEnabled(Driver().PageItem(1, IDC_OWNER_PASSWORD)));
    EXPECT_EQ(session->Dialog().m_pageSecurity.m_bOwnerPassword, 1);
    ExpectNothingStarted();
    EXPECT_EQ(watcher.Seen().size(), 3u);
}

// Ghostscript gets its command line in the ANSI code page: such a password would protect the PDF with another one.
TEST_F(ConvertDialog, PasswordsBeyondPrintableAsciiAreRefused) {
    Open(L"C:\\Decks\\Q3.final.pptx");
    Driver().SelectTab(1);
    Driver().ClickOnPage(1, IDC_ENABLE_SECURITY);
    Driver().ClickOnPage(1, IDC_ENABLE_OWNER_PASSWORD);
    Driver().SetTextOnPage(1, IDC_OWNER_PASSWORD, L"gr\u00FC\u00DFe");
    EXPECT_EQ(ConvertRefusal(), GhostscriptRun::kPasswordRefusal);

    Driver().SetTextOnPage(1, IDC_OWNER_PASSWORD, L"plain ~!@#$%^&*()_+{}|:\"<>?`-=[]\\;',./");
    Driver().ClickOnPage(1, IDC_ENABLE_USER_PASSWORD);
    Driver().SetTextOnPage(1, IDC_USER_PASSWORD, L"\u5BC6\u7801");
    EXPECT_EQ(ConvertRefusal(), GhostscriptRun::kPasswordRefusal);
    ExpectNothingStarted();
    EXPECT_EQ(watcher.Seen().size(), 2u);
}

TEST_F(ConvertDialog, EscapeAndCloseEndTheDialogWhileIdle) {
    for (bool escape : {true, false}) {
        Open(L"C:\\Decks\\Q3.final.pptx");
        if (escape)
            Driver().Click(IDCANCEL);
        else
            Driver().SysCommand(SC_CLOSE);
        EXPECT_TRUE(WaitFor([&] { return !Driver().IsOpen(); })) << escape;
        session.reset();
    }
    EXPECT_TRUE(watcher.Seen().empty());
}

TEST_F(ConvertDialog, BrowsePutsThePickedFolderWithOneFinalBackslash) {
    const std::wstring folder = TestFiles::NewFolder(L"convert-browse");
    Open(L"C:\\Decks\\Q3.final.pptx");
    struct Pick {
        std::wstring folder;  // empty: cancel
        std::wstring expected;
    };
    const std::wstring picked = folder.substr(0, folder.size() - 1);
    for (const Pick& pick : {Pick{L"", L"C:\\Decks\\"}, Pick{picked, folder}, Pick{L"C:\\", L"C:\\"}}) {
        Driver().Click(IDC_BROWSE);
        HWND browser = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (browser = OwnedWindow(Driver().ThreadId(), dialog)) != nullptr; }));
        if (!pick.folder.empty())
            SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(pick.folder.c_str()));
        PostMessageW(browser, WM_COMMAND, pick.folder.empty() ? IDCANCEL : IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(browser); }));
        EXPECT_TRUE(WaitFor([&] { return Driver().Text(IDC_OUTPUT_FOLDER) == pick.expected; }, 2000))
            << UnixChild::Utf8(Driver().Text(IDC_OUTPUT_FOLDER));
    }
    EXPECT_TRUE(watcher.Seen().empty());
}
