// The Finish dialog driven on its own thread: its list, Close in every form,
// and the shell actions: opening a file is observed through a handler
// registered here; opening its folder through the shell call it makes, which
// this program's import seam records (Wine's folder view shows no selection).
#include <gtest/gtest.h>

#include <shlobj.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AppMessageBox.h"
#include "DialogThread.h"
#include "FinishDlg.h"
#include "ImportPatch.h"
#include "MessageBoxWatcher.h"
#include "ModulePath.h"
#include "TestFiles.h"
#include "WindowShot.h"

namespace {

class FinishDialog : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TestFiles::NewFolder(L"finish 100%");
        for (const wchar_t* name : {L"Q3.final.pdf", L"Annual report.pdf", L"budget.pdf"}) {
            ASSERT_TRUE(TestFiles::Write(folder + name, "%PDF-1.3\n"));
            dialog.m_lstFiles.push_back(name);
        }
        dialog.m_strFolder = folder;
    }

    void Open() {
        thread = std::make_unique<DialogThread>([this] { dialog.DoModal(); });
        window = thread->Window();
        ASSERT_NE(window, nullptr);
        list = GetDlgItem(window, IDC_FINISH_FILES);
    }
    bool Ended() { return thread->WaitForEnd(); }
    void TearDown() override {
        if (thread && IsWindow(window)) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        if (thread) {
            EXPECT_TRUE(thread->WaitForEnd());
        }
        thread.reset();
    }
    std::wstring Entry(int index) const {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    void Click(int id) const { SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0); }

    CFinishDlg dialog;
    std::wstring folder;
    std::unique_ptr<DialogThread> thread;
    HWND window = nullptr;
    HWND list = nullptr;
};

// Registers the recorder as the program that opens .pdf files, and puts the
// previous registration back. Wine's HKEY_CLASSES_ROOT does not look at the
// user's classes, so this goes there directly.
class PdfHandler {
public:
    PdfHandler() : m_previous(Get(L".pdf")) {
        Set(L".pdf", L"RecorderTest.Pdf");
        Set(L"RecorderTest.Pdf\\shell\\open\\command", L"\"" + ModulePath::Folder() + L"\\OpenRecorder.exe\" \"%1\"");
        DeleteFileW(Log().c_str());
    }
    ~PdfHandler() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"RecorderTest.Pdf");
        if (m_previous.empty())
            RegDeleteTreeW(HKEY_CLASSES_ROOT, L".pdf");
        else
            Set(L".pdf", m_previous);
        DeleteFileW(Log().c_str());
    }
    PdfHandler(const PdfHandler&) = delete;
    PdfHandler& operator=(const PdfHandler&) = delete;
    static std::wstring Log() { return ModulePath::Folder() + L"\\opened.log"; }

private:
    static std::wstring Get(const wchar_t* key) {
        wchar_t value[256] = {};
        DWORD size = sizeof(value);
        RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
        return value;
    }
    static void Set(const wchar_t* key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    std::wstring m_previous;
};

// The shell's SHOpenFolderAndSelectItems as this program calls it: the folder
// and the full paths of the items to select, as file-system paths.
struct FolderView {
    std::wstring folder;
    std::vector<std::wstring> selected;
    DWORD flags = 0;
};

class FolderViewRecorder {
public:
    FolderViewRecorder()
        : m_patch(L"shell32.dll", "SHOpenFolderAndSelectItems", reinterpret_cast<void*>(&Record)) {}
    bool Applied() const { return m_patch.Applied(); }
    static std::vector<FolderView> Calls() {
        std::lock_guard<std::mutex> lock(s_mutex);
        return s_calls;
    }
    ~FolderViewRecorder() {
        std::lock_guard<std::mutex> lock(s_mutex);
        s_calls.clear();
    }

private:
    static std::wstring PathOf(PCIDLIST_ABSOLUTE list) {
        wchar_t path[MAX_PATH] = {};
        return list && SHGetPathFromIDListW(list, path) ? path : L"<no path>";
    }
    static HRESULT WINAPI Record(PCIDLIST_ABSOLUTE folder, UINT count, PCUITEMID_CHILD_ARRAY items, DWORD flags) {
        FolderView view{PathOf(folder), {}, flags};
        for (UINT i = 0; i < count && items; ++i) {
            PIDLIST_ABSOLUTE full = ILCombine(folder, items[i]);
            view.selected.push_back(PathOf(full));
            ILFree(full);
        }
        std::lock_guard<std::mutex> lock(s_mutex);
        s_calls.push_back(view);
        return S_OK;
    }

    ImportPatch m_patch;
    static std::mutex s_mutex;
    static std::vector<FolderView> s_calls;
};
std::mutex FolderViewRecorder::s_mutex;
std::vector<FolderView> FolderViewRecorder::s_calls;

std::string Utf8(const std::wstring& text) {
    std::string bytes;
    for (wchar_t c : text) bytes += static_cast<char>(c);  // the names here are ASCII
    return bytes;
}

}  // namespace

TEST_F(FinishDialog, ListsTheFilesSortedWithTheFirstSelected) {
    Open();
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"Vellumark 5.0");
    GetDlgItemTextW(window, IDC_FINISH_HEADING, text, 64);
    EXPECT_STREQ(text, L"Conversion Completes!");
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Entry(0), L"Annual report.pdf");
    EXPECT_EQ(Entry(1), L"budget.pdf");
    EXPECT_EQ(Entry(2), L"Q3.final.pdf");
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(WindowShot::Save(window, "finish-dialog"));
}

TEST_F(FinishDialog, CloseEscapeAndTheTitleBarEachEmptyTheList) {
    Open();
    Click(IDCANCEL);
    ASSERT_TRUE(Ended());
    EXPECT_TRUE(dialog.m_lstFiles.empty());

    dialog.m_lstFiles = {L"Q3.final.pdf"};
    Open();
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);  // a new window, filled anew
    PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(Ended());
    EXPECT_TRUE(dialog.m_lstFiles.empty());

    dialog.m_lstFiles = {L"Q3.final.pdf"};
    Open();
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(Ended());
    EXPECT_TRUE(dialog.m_lstFiles.empty());
}

TEST_F(FinishDialog, OpenFileWithoutSelectionShowsTheErrorBox) {
    MessageBoxWatcher watcher;
    Open();
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    PostMessageW(GetDlgItem(window, IDC_OPEN_FILE), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return watcher.Seen().size() == 1; }));
    const SeenMessageBox box = watcher.Seen()[0];
    EXPECT_EQ(box.caption, L"ERROR");
    EXPECT_EQ(box.text, L"please choose one file !");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(box.owner, window);
    EXPECT_TRUE(IsWindowVisible(window));  // the dialog stays
}

TEST_F(FinishDialog, OpenFileAsksTheShellToOpenTheSelectedPdf) {
    PdfHandler handler;
    Open();
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    for (int time = 0; time < 2; ++time) Click(IDC_OPEN_FILE);
    ASSERT_TRUE(WaitFor([] {
        const std::string log = TestFiles::Read(PdfHandler::Log());
        return log.find('\n') != log.rfind('\n');
    }));
    const std::string log = TestFiles::Read(PdfHandler::Log());
    EXPECT_NE(log.find("\"" + Utf8(folder) + "Q3.final.pdf\""), std::string::npos) << log;
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(FinishDialog, OpenFolderShowsTheOutputFolderWithTheChosenFileSelected) {
    FolderViewRecorder recorder;
    ASSERT_TRUE(recorder.Applied());
    Open();
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    Click(IDC_OPEN_FOLDER);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Click(IDC_OPEN_FOLDER);  // nothing selected: the first entry
    const std::wstring shown = folder.substr(0, folder.size() - 1);
    const auto calls = FolderViewRecorder::Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].folder, shown);
    EXPECT_EQ(calls[0].selected, std::vector<std::wstring>{folder + L"Q3.final.pdf"});
    EXPECT_EQ(calls[0].flags, 0u);
    EXPECT_EQ(calls[1].folder, shown);
    EXPECT_EQ(calls[1].selected, std::vector<std::wstring>{folder + L"Annual report.pdf"});
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(FinishDialog, OpenFolderSaysErrorOnlyWhenTheShellCannotParseThePaths) {
    FolderViewRecorder recorder;
    MessageBoxWatcher watcher;
    Open();
    Click(IDC_OPEN_FOLDER);
    EXPECT_EQ(FolderViewRecorder::Calls().size(), 1u);
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_TRUE(IsWindowVisible(window));
    Click(IDCANCEL);
    ASSERT_TRUE(Ended());

    dialog.m_strFolder = L"Q:\\no such folder\\";
    dialog.m_lstFiles = {L"Q3.final.pdf"};
    Open();
    Click(IDC_OPEN_FOLDER);
    EXPECT_EQ(FolderViewRecorder::Calls().size(), 1u) << "no folder view for paths the shell cannot parse";
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, L"ERROR");
    EXPECT_EQ(watcher.Seen()[0].caption, AppMessageBox::Caption());
    EXPECT_EQ(watcher.Seen()[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(watcher.Seen()[0].icon, 0u);
}

