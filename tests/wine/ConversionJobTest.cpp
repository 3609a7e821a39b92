// Conversions through the real Convert dialog, with the PowerPoint stand-in
// served on the dialog's thread and the Ghostscript stand-in: the status
// animation, the refusals while busy, the Finish dialog, the replace prompt,
// failures, and options that reach the PDF.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppMessageBox.h"
#include "ConvertDialogSession.h"
#include "DefaultPrinter.h"
#include "DefaultPrinterWatch.h"
#include "GhostscriptLocator.h"
#include "GhostscriptRun.h"
#include "MessageBoxWatcher.h"
#include "ModuleLock.h"
#include "ModulePath.h"
#include "PresentationConverter.h"
#include "PrinterLock.h"
#include "ScratchTemp.h"
#include "TestFiles.h"
#include "UnixChild.h"
#include "UnixShell.h"
#include "WindowShot.h"

namespace {

const wchar_t kUserPrinter[] = L"Office Laser";
const wchar_t kBusy[] = L"Working now,Hold for a moment!";
const wchar_t kBegin[] = L"Begin Convert";
const DWORD kRunMs = 120000;

// Moves the Ghostscript stand-in away for as long as this lives.
class MissingInterpreter {
public:
    MissingInterpreter() : m_folder(ModulePath::Folder() + L"\\gs"), m_away(m_folder + L"-away") {
        m_moved = MoveFileW(m_folder.c_str(), m_away.c_str()) != FALSE;
    }
    ~MissingInterpreter() {
        if (m_moved) MoveFileW(m_away.c_str(), m_folder.c_str());
    }
    MissingInterpreter(const MissingInterpreter&) = delete;
    MissingInterpreter& operator=(const MissingInterpreter&) = delete;
    bool Moved() const { return m_moved; }

private:
    std::wstring m_folder;
    std::wstring m_away;
    bool m_moved = false;
};

// Puts a Ghostscript in place that fails after writing an error text over its
// output file, as gs does when a run breaks off, for as long as this lives.
class BrokenInterpreter {
public:
    BrokenInterpreter() : m_script(GhostscriptRun::InterpreterFolder() + L"gswin32c-run"), m_away(m_script + L"-away") {
        m_moved = MoveFileW(m_script.c_str(), m_away.c_str()) != FALSE;
        m_written = m_moved && TestFiles::Write(m_script,
                                                "#!/bin/bash\n"
                                                "mapfile -d '' args < \"$1\"\n"
                                                "for a in \"${args[@]}\"; do\n"
                                                "  case $a in -sOutputFile=*) echo 'Unrecoverable error' > \"${a#*=}\" ;; esac\n"
                                                "done\n"
                                                "echo 1 > \"$1.status.part\" && mv -f \"$1.status.part\" \"$1.status\"\n") &&
                    UnixShell::Run("chmod +x " + UnixShell::Quote(m_script)).status == 0;
    }
    ~BrokenInterpreter() {
        if (m_moved) MoveFileExW(m_away.c_str(), m_script.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    BrokenInterpreter(const BrokenInterpreter&) = delete;
    BrokenInterpreter& operator=(const BrokenInterpreter&) = delete;
    bool InPlace() const { return m_written; }

private:
    std::wstring m_script;
    std::wstring m_away;
    bool m_moved = false;
    bool m_written = false;
};

std::string Joined(const std::vector<std::wstring>& texts) {
    std::string joined;
    for (const std::wstring& text : texts) joined += UnixChild::Utf8(text) + " | ";
    return joined;
}

// After the template's text, each status text is "Begin Convert" with up to
// six dots, one more per step, back to none after six, and "Over!" only at the end.
::testing::AssertionResult IsStatusAnimation(std::vector<std::wstring> seen) {
    const std::wstring begin = kBegin;
    if (!seen.empty() && seen.front() == L"Not Started") seen.erase(seen.begin());
    if (seen.empty() || seen.front() != begin || seen.back() != L"Over!")
        return ::testing::AssertionFailure() << Joined(seen);
    for (size_t i = 1; i + 1 < seen.size(); ++i) {
        const std::wstring& before = seen[i - 1];
        const bool next = seen[i] == before + L"." || (seen[i] == begin && before == begin + L"......");
        if (!next || seen[i].size() > begin.size() + 6)
            return ::testing::AssertionFailure() << "step " << i << ": " << Joined(seen);
    }
    return ::testing::AssertionSuccess();
}

class ConversionJob : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_decks = TestFiles::NewFolder(L"job-decks");
        const std::string pages =
            "for i in 1 2 3 4 5; do printf '%%%%Page: %d %d\\n/Helvetica findfont 40 "
            "scalefont setfont 72 500 moveto (Slide %d) show showpage\\n' $i $i $i; done";
        UnixShell::Run("cd " + UnixShell::Quote(s_decks) + " && (" + pages +
                       ") > deck.ps && gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile='Five "
                       "slides.pdf' deck.ps");
    }

    void SetUp() override {
        DefaultPrinter::Set(kUserPrinter);
        out = TestFiles::NewFolder(L"job-out");
        runsBefore = GhostscriptRuns();
    }
    // Whatever the run's end, it leaves nothing behind.
    void TearDown() override {
        session.reset();
        DefaultPrinter::Set(kUserPrinter);
        EXPECT_EQ(temp.Left(), std::vector<std::wstring>{}) << "left in the temporary folder";
        EXPECT_EQ(temp.NewAtRootOfC(), std::vector<std::wstring>{}) << "new at the root of C:";
    }

    void Open(StandInOptions standIn = {}) {
        standIn.deck = Deck();
        session = std::make_unique<ConvertDialogSession>(Deck(), standIn);
        dialog = Driver().Dialog();
        ASSERT_NE(dialog, nullptr);
        Driver().SetText(IDC_OUTPUT_FOLDER, out);
    }
    ConvertDialogDriver& Driver() { return session->Driver(); }
    CConvertDlg& Dlg() { return session->Dialog(); }

    static std::wstring Deck() { return s_decks + L"Five slides.pdf"; }
    std::wstring Pdf() const { return out + L"Five slides.pdf"; }
    std::wstring ReplacePrompt() const { return Pdf() + L" already exists. Do you want to replace it?"; }
    static std::wstring FailureReport() { return s_decks + L"Five slides.pdf convert failed!"; }

    // Every new status text until `done` holds; false when it did not in time.
    bool RecordStatus(std::vector<std::wstring>& seen, const std::function<bool()>& done, DWORD timeoutMs) {
        return WaitFor(
            [&] {
                const std::wstring status = Driver().Status();
                if (seen.empty() || seen.back() != status) seen.push_back(status);
                return done();
            },
            timeoutMs);
    }
    // Waits for a run that shows no Finish dialog to end.
    bool RunEnds() {
        return Driver().WaitForStatus(L"Over!", kRunMs) && WaitFor([&] { return Dlg().m_bConverting == 0; });
    }
    // Closes the Finish dialog of a successful run and waits until "Convert" is accepted again.
    bool CloseFinish(HWND finish) {
        PostMessageW(finish, WM_COMMAND, IDCANCEL, 0);
        return WaitFor([&] { return Dlg().m_bConverting == 0 && IsWindowEnabled(dialog); });
    }
    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> texts;
        for (const SeenMessageBox& box : watcher.Seen()) texts.push_back(box.text);
        return texts;
    }
    static size_t GhostscriptRuns() {
        const std::string log = TestFiles::Read(GhostscriptRun::InterpreterFolder() + L"gswin32c.log");
        size_t lines = 0;
        for (char c : log) lines += c == '\n';
        return lines;
    }
    static std::string Shell(const std::string& command) {
        UnixResult result = UnixShell::Run(command);
        EXPECT_EQ(result.status, 0) << command << "\n" << result.output;
        return result.output;
    }

    static std::wstring s_decks;
    ScratchTemp temp{L"job-temp"};
    MessageBoxWatcher watcher;
    std::unique_ptr<ConvertDialogSession> session;
    HWND dialog = nullptr;
    std::wstring out;
    size_t runsBefore = 0;
};

std::wstring ConversionJob::s_decks;

}  // namespace

TEST_F(ConversionJob, SuccessAnimatesRefusesToCloseWhileBusyAndOpensTheFinishDialog) {
    StandInOptions slow;
    slow.slowPrintSeconds = 6;
    Open(slow);
    Driver().Click(IDOK);
    // Six dots, then the bare text again.
    std::vector<std::wstring> seen;
    ASSERT_TRUE(RecordStatus(
        seen, [&] { return seen.size() > 2 && seen.back() == kBegin; }, 10000));
    EXPECT_EQ(Dlg().m_bConverting, 1);
    EXPECT_TRUE(WindowShot::Save(dialog, "convert-dialog-running"));

    // Every way of closing, browsing or converting again is refused; tabs still switch.
    const std::function<void()> refused[] = {[&] { Driver().Click(IDOK); }, [&] { Driver().Click(IDCANCEL); },
                                             [&] { Driver().SysCommand(SC_CLOSE); },
                                             [&] { Driver().Click(IDC_BROWSE); }};
    for (const auto& action : refused) {
        const size_t boxes = watcher.Seen().size();
        action();
        EXPECT_TRUE(RecordStatus(
            seen, [&] { return watcher.Seen().size() > boxes && !Driver().MessageBox(); }, 10000));
    }
    Driver().SelectTab(2);
    EXPECT_TRUE(IsWindowVisible(Driver().Page(2)));

    // The second before the Finish dialog opens still refuses "Convert".
    // Judged on what was recorded: a second read could see "Over!" that the record missed.
    ASSERT_TRUE(RecordStatus(
        seen, [&] { return seen.back() == L"Over!"; }, kRunMs));
    Driver().Click(IDOK);
    EXPECT_TRUE(WaitFor([&] { return watcher.Seen().size() == 5 && !Driver().MessageBox(); }));
    HWND finish = Driver().WaitForFinish(10000);
    ASSERT_NE(finish, nullptr);
    EXPECT_TRUE(IsStatusAnimation(seen));
    EXPECT_NE(std::find(seen.begin(), seen.end(), std::wstring(kBegin) + L"......"), seen.end())
        << Joined(seen);
    EXPECT_TRUE(Driver().IsOpen());
    ASSERT_EQ(watcher.Seen().size(), 5u);
    for (const SeenMessageBox& box : watcher.Seen()) {
        EXPECT_EQ(box.text, kBusy);
        EXPECT_EQ(box.caption, AppMessageBox::Caption());
    }

    // The Finish dialog is owned by the Convert dialog, which waits inactive.
    EXPECT_TRUE(WindowShot::Save(finish, "finish-dialog"));
    EXPECT_EQ(GetWindow(finish, GW_OWNER), dialog);
    EXPECT_FALSE(IsWindowEnabled(dialog));
    EXPECT_EQ(ConvertDialogDriver::FinishFiles(finish), std::vector<std::wstring>{L"Five slides.pdf"});
    EXPECT_EQ(Dlg().m_dlgFinish.m_strFolder, out);
    ASSERT_TRUE(CloseFinish(finish));
    EXPECT_EQ(Driver().Status(), L"Over!");
    EXPECT_EQ(Shell("pdfinfo " + UnixShell::Quote(Pdf()) + " | sed -n 's/^Pages: *//p'"), "5\n");
    EXPECT_EQ(GhostscriptRuns(), runsBefore + 1);
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
}

TEST_F(ConversionJob, SecondConversionInTheSameDialogAsksBeforeReplacing) {
    watcher.SetButton(IDYES);
    Open();
    for (int run = 0; run < 2; ++run) {
        Driver().Click(IDOK);
        HWND finish = Driver().WaitForFinish(kRunMs);
        ASSERT_NE(finish, nullptr) << run;
        EXPECT_EQ(ConvertDialogDriver::FinishFiles(finish), std::vector<std::wstring>{L"Five slides.pdf"})
            << run;
        ASSERT_TRUE(CloseFinish(finish)) << run;
        if (run == 0) {
            ASSERT_TRUE(TestFiles::Write(Pdf(), "%PDF-1.3 from before\n"));
        }
    }
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].caption, L"Vellumark 5.0");
    EXPECT_EQ(watcher.Seen()[0].text, ReplacePrompt());
    EXPECT_EQ(watcher.Seen()[0].buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(watcher.Seen()[0].icon, 0u);
    EXPECT_EQ(watcher.Seen()[0].owner, dialog) << "the replace prompt belongs to the Convert dialog";
    EXPECT_NE(TestFiles::Read(Pdf()).find("%%EOF"), std::string::npos)
        << "the second run wrote the file anew";
    EXPECT_EQ(GhostscriptRuns(), runsBefore + 2);
    EXPECT_TRUE(Dlg().m_dlgFinish.m_lstFiles.empty());
}

TEST_F(ConversionJob, AnsweringNoKeepsTheFileAndRunsNothing) {
    const std::string before = "%PDF-1.3 from before\n";
    ASSERT_TRUE(TestFiles::Write(Pdf(), before));
    watcher.SetButton(IDNO);
    Open();
    DefaultPrinterWatch printers;
    Driver().Click(IDOK);
    ASSERT_TRUE(RunEnds());
    EXPECT_TRUE(printers.Changes().empty()) << "the default printer was switched";
    EXPECT_EQ(Texts(), std::vector<std::wstring>{ReplacePrompt()});
    EXPECT_EQ(watcher.Seen()[0].caption, L"Vellumark 5.0");
    EXPECT_EQ(TestFiles::Read(Pdf()), before);
    EXPECT_EQ(GhostscriptRuns(), runsBefore);
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter) << "nothing may be printed";
    EXPECT_EQ(Driver().WaitForFinish(2500), nullptr);
}

TEST_F(ConversionJob, ReplacedFileThatThisRunDidNotWriteIsAFailure) {
    const std::string before = "%PDF-1.3 from before\n";
    ASSERT_TRUE(TestFiles::Write(Pdf(), before));
    watcher.SetButton(IDYES);
    watcher.SetNote([] { return DefaultPrinter::Get(); });
    StandInOptions failing;
    failing.failPrintOut = true;
    Open(failing);
    Driver().Click(IDOK);
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(Texts(),
              (std::vector<std::wstring>{ReplacePrompt(), L"PowerPoint could not print the presentation.",
                                         FailureReport()}));
    EXPECT_EQ(watcher.Seen().back().caption, AppMessageBox::Caption());
    for (size_t box = 1; box < watcher.Seen().size(); ++box) {
        EXPECT_EQ(watcher.Seen()[box].buttons, std::vector<int>{IDOK}) << box;
        EXPECT_EQ(watcher.Seen()[box].icon, 0u) << box;
    }
    // Each box stays in front of the dialog it concerns, and none waits with Inkharbor the default.
    for (const SeenMessageBox& box : watcher.Seen()) {
        EXPECT_EQ(box.owner, dialog) << UnixChild::Utf8(box.text);
        EXPECT_EQ(box.noted, kUserPrinter) << UnixChild::Utf8(box.text);
    }
    EXPECT_EQ(TestFiles::Read(Pdf()), before);
    EXPECT_EQ(Driver().WaitForFinish(2500), nullptr);
    EXPECT_TRUE(Dlg().m_dlgFinish.m_lstFiles.empty());
}

TEST_F(ConversionJob, FailingInterpreterLeavesTheFileTheUserAgreedToReplaceUntouched) {
    const std::string before = "%PDF-1.3 from before\n";
    ASSERT_TRUE(TestFiles::Write(Pdf(), before));
    BrokenInterpreter broken;
    ASSERT_TRUE(broken.InPlace());
    watcher.SetButton(IDYES);
    Open();
    Driver().Click(IDOK);
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{ReplacePrompt(), FailureReport()}));
    EXPECT_EQ(GhostscriptRuns(), runsBefore + 1);
    EXPECT_EQ(TestFiles::Read(Pdf()), before);
    EXPECT_EQ(Driver().WaitForFinish(2500), nullptr);
}

TEST_F(ConversionJob, MissingInterpreterIsSaidBeforeAnythingIsPrinted) {
    MissingInterpreter missing;
    ASSERT_TRUE(missing.Moved());
    Open();
    DefaultPrinterWatch printers;
    ASSERT_TRUE(printers.Watching());
    Driver().Click(IDOK);
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{GhostscriptLocator::NotFoundMessage()})) << "one message, not two";
    EXPECT_EQ(watcher.Seen()[0].caption, AppMessageBox::Caption());
    EXPECT_FALSE(TestFiles::Exists(Pdf()));
    EXPECT_TRUE(printers.Changes().empty()) << "the default printer must not be switched";
    EXPECT_EQ(Driver().WaitForFinish(2500), nullptr);
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
    // The dialog closes normally after a failed run.
    Driver().SysCommand(SC_CLOSE);
    EXPECT_TRUE(WaitFor([&] { return !Driver().IsOpen(); }));
}

// A temporary folder that cannot take the run's own folder ends the run at once,
// said, with nothing printed (the printed file would have nowhere to go).
TEST_F(ConversionJob, TemporaryFolderThatTakesNoFolderIsSaidAndNothingIsPrinted) {
    const std::wstring gone = temp.Folder() + L"gone\\";
    SetEnvironmentVariableW(L"TMP", gone.c_str());
    SetEnvironmentVariableW(L"TEMP", gone.c_str());
    Open();
    DefaultPrinterWatch printers;
    ASSERT_TRUE(printers.Watching());
    Driver().Click(IDOK);
    ASSERT_TRUE(RunEnds());
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{
                           L"Cannot create a folder for the intermediate files in " + gone + L"!", FailureReport()}));
    EXPECT_TRUE(printers.Changes().empty()) << "the default printer must not be switched";
    EXPECT_EQ(GhostscriptRuns(), runsBefore);
    EXPECT_FALSE(TestFiles::Exists(Pdf()));
}

// A typed text that spells no entry of a list is refused at Convert, naming
// the list, before the default printer or PowerPoint is touched.
TEST_F(ConversionJob, TypedTextThatIsNoEntryIsRefusedAndNothingIsPrinted) {
    const struct {
        int id;
        const wchar_t *typed, *refusal;
    } rows[] = {
        {IDC_DOCUMENT_COMPRESSION, L"ZIP",
         L"\"ZIP\" is not an entry of the list Document Compression. Choose one of: Flate, LZW."},
        {IDC_IMAGE_COMPRESSION, L"JPG",
         L"\"JPG\" is not an entry of the list Images Compression. Choose one of: Flate, JPEG, Automatic."},
        {IDC_JPEG_QUALITY, L"75",
         L"\"75\" is not an entry of the list JPEG Quality. Choose one of: Minimum, Low, Medium, Maximum."},
        {IDC_PDF_VERSION, L"1.4",
         L"\"1.4\" is not an entry of the list PDF Version. Choose one of: V1.3(Acrobat 4.xx), V1.4(Acrobat "
         L"4.xx), V1.5(Acrobat 4.xx)."},
    };
    Open();
    DefaultPrinterWatch printers;
    ASSERT_TRUE(printers.Watching());
    std::vector<std::wstring> expected;
    for (const auto& row : rows) {
        Driver().SetTextOnPage(2, IDC_DOCUMENT_COMPRESSION, L"Flate");
        Driver().SetTextOnPage(2, IDC_IMAGE_COMPRESSION, L"Flate");
        Driver().SetTextOnPage(2, IDC_JPEG_QUALITY, L"Minimum");
        Driver().SetTextOnPage(2, IDC_PDF_VERSION, L"V1.3(Acrobat 4.xx)");
        Driver().SetTextOnPage(2, row.id, row.typed);
        Driver().Click(IDOK);
        expected.push_back(row.refusal);
        ASSERT_TRUE(WaitFor([&] { return watcher.Seen().size() == expected.size(); })) << row.typed;
        EXPECT_EQ(Dlg().m_bConverting, 0) << row.typed;
    }
    EXPECT_EQ(Texts(), expected);
    EXPECT_TRUE(printers.Changes().empty()) << "the default printer must not be switched";
    EXPECT_EQ(GhostscriptRuns(), runsBefore);
    EXPECT_FALSE(TestFiles::Exists(Pdf()));
}

TEST_F(ConversionJob, TwoQuickPressesStartOneRun) {
    Open();
    Driver().Click(IDOK);
    Driver().Click(IDOK);
    HWND finish = Driver().WaitForFinish(kRunMs);
    ASSERT_NE(finish, nullptr);
    EXPECT_EQ(Texts(), std::vector<std::wstring>{kBusy});
    EXPECT_EQ(ConvertDialogDriver::FinishFiles(finish), std::vector<std::wstring>{L"Five slides.pdf"});
    ASSERT_TRUE(CloseFinish(finish));
    EXPECT_EQ(GhostscriptRuns(), runsBefore + 1);
}

// Another conversion of the user's holds the printer: the run says it waits
// and goes on once the printer is given up; closing the dialog then ends such
// a wait at once, with nothing switched, printed or reported.
TEST_F(ConversionJob, ARunWaitingForTheUsersOtherConversionSaysSoAndClosingEndsTheWait) {
    const std::wstring waiting = L"Waiting for printer";
    auto other = std::make_unique<PrinterLock>(0);
    ASSERT_TRUE(other->Held());
    Open();
    Driver().Click(IDOK);
    // Animated as ever, from the waiting text, past a round of six dots.
    std::vector<std::wstring> seen;
    const auto waited = [&] {
        return std::find_if(seen.begin(), seen.end(), [&](const std::wstring& text) { return text == waiting; });
    };
    ASSERT_TRUE(RecordStatus(seen, [&] { return seen.end() - waited() > 8; }, 15000)) << Joined(seen);
    for (auto text = waited(); text != seen.end(); ++text)
        EXPECT_EQ(text->substr(0, waiting.size()), waiting) << Joined(seen);
    EXPECT_TRUE(WindowShot::Save(dialog, "convert-dialog-waiting"));
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
    other.reset();
    HWND finish = Driver().WaitForFinish(kRunMs);
    ASSERT_NE(finish, nullptr);
    EXPECT_NE(std::find(seen.begin(), seen.end(), std::wstring(kBegin)), seen.end()) << Joined(seen);
    ASSERT_TRUE(CloseFinish(finish));
    EXPECT_EQ(GhostscriptRuns(), runsBefore + 1);

    other = std::make_unique<PrinterLock>(0);
    ASSERT_TRUE(other->Held());
    ASSERT_TRUE(DeleteFileW(Pdf().c_str()));
    Driver().Click(IDOK);
    ASSERT_TRUE(WaitFor([&] { return Driver().Status().rfind(waiting, 0) == 0; }, 10000));
    Driver().SysCommand(SC_CLOSE);
    EXPECT_TRUE(WaitFor([&] { return !Driver().IsOpen(); }, 10000)) << "the wait went on";
    EXPECT_TRUE(session->Close());
    EXPECT_TRUE(watcher.Seen().empty()) << Joined(Texts());
    EXPECT_EQ(GhostscriptRuns(), runsBefore + 1);
    EXPECT_FALSE(TestFiles::Exists(Pdf()));
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
}

TEST_F(ConversionJob, OptionsOfThePagesReachThePdf) {
    Open();
    Driver().SetTextOnPage(0, IDC_TITLE, L"Quarterly figures");
    Driver().SetTextOnPage(0, IDC_AUTHOR, L"Ada Reviewer");
    Driver().SetTextOnPage(0, IDC_SUBJECT, L"Numbers");
    Driver().SetTextOnPage(0, IDC_KEYWORDS, L"q3 review");
    Driver().ClickOnPage(1, IDC_ENABLE_SECURITY);
    Driver().ClickOnPage(1, IDC_ENABLE_USER_PASSWORD);
    Driver().SetTextOnPage(1, IDC_USER_PASSWORD, L"us er");
    Driver().SetTextOnPage(1, IDC_OWNER_PASSWORD, L"owner");
    Driver().ClickOnPage(1, IDC_ENCRYPTION_HIGH);
    Driver().ClickOnPage(1, IDC_PRINTING);
    // Typed, not picked: the entry it spells.
    Driver().SetTextOnPage(2, IDC_PDF_VERSION, L" v1.5(ACROBAT 4.xx) ");
    Driver().Click(IDOK);
    HWND finish = Driver().WaitForFinish(kRunMs);
    ASSERT_NE(finish, nullptr) << Joined(Texts()) << UnixChild::Utf8(Driver().Status());
    ASSERT_TRUE(CloseFinish(finish));
    EXPECT_TRUE(watcher.Seen().empty());

    const std::string info = Shell("pdfinfo -upw 'us er' " + UnixShell::Quote(Pdf()));
    for (const char* line :
         {"Title:           Quarterly figures", "Author:          Ada Reviewer", "Subject:         Numbers",
          "Keywords:        q3 review", "PDF version:     1.5"})
        EXPECT_NE(info.find(line), std::string::npos) << line << "\n" << info;
    const std::string owner = Shell("qpdf --show-encryption --password=owner " + UnixShell::Quote(Pdf()));
    EXPECT_NE(owner.find("R = 3"), std::string::npos) << owner;
    EXPECT_NE(owner.find("P = -1340"), std::string::npos) << owner;
    EXPECT_NE(owner.find("print high resolution: allowed"), std::string::npos) << owner;
    EXPECT_NE(owner.find("Supplied password is owner password"), std::string::npos) << owner;
    EXPECT_NE(owner.find("User password = us er"), std::string::npos) << owner;
    EXPECT_NE(UnixShell::Run("qpdf --check --password=wrong " + UnixShell::Quote(Pdf())).status, 0);
}

// PowerPoint quitting while a deck prints: the dialog's loop goes on serving
// the worker's calls until the run is over, then ends and leaves the quit for
// the host's own loop. Meanwhile the library is kept by a module lock.
TEST_F(ConversionJob, QuitDuringASlowPrintEndsTheDialogOnlyOnceTheRunIsOver) {
    StandInOptions slow;
    slow.deck = Deck();
    slow.slowPrintSeconds = 6;
    std::wstring printerAtEnd;
    std::string pdfAtEnd;
    bool quitLeft = false;
    session = std::make_unique<ConvertDialogSession>(Deck(), slow, [&] {
        printerAtEnd = DefaultPrinter::Get();
        pdfAtEnd = TestFiles::Read(Pdf());
        MSG msg;
        quitLeft = PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    });
    dialog = Driver().Dialog();
    ASSERT_NE(dialog, nullptr);
    Driver().SetText(IDC_OUTPUT_FOLDER, out);
    EXPECT_EQ(ModuleLock::Count(), 0);
    Driver().Click(IDOK);
    ASSERT_TRUE(WaitFor([] { return DefaultPrinter::Get() == PresentationConverter::kPostScriptPrinter; }))
        << "the print did not start";
    EXPECT_EQ(ModuleLock::Count(), 1) << "a running conversion keeps the library";
    PostThreadMessageW(Driver().ThreadId(), WM_QUIT, 7, 0);
    ASSERT_TRUE(WaitFor([&] { return !Driver().IsOpen(); }, kRunMs));
    ASSERT_TRUE(session->Close());
    EXPECT_EQ(printerAtEnd, kUserPrinter) << "the dialog ended before the run";
    EXPECT_NE(pdfAtEnd.find("%%EOF"), std::string::npos) << "the dialog ended before the run";
    EXPECT_TRUE(quitLeft);
    EXPECT_TRUE(watcher.Seen().empty()) << Joined(Texts());
    EXPECT_EQ(GhostscriptRuns(), runsBefore + 1);
    EXPECT_TRUE(WaitFor([] { return ModuleLock::Count() == 0; }));
}
