// The whole road with options: the product installed and registered by
// Brenmoor.exe, the PowerPoint stand-in loading it, the button clicked, the
// Convert dialog filled in and run; the PDF is then read by independent tools
// (qpdf, pdfinfo, pdfimages).
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ButtonConversion.h"
#include "ConvertDialogDriver.h"
#include "DefaultPrinter.h"
#include "DefaultPrinterWatch.h"
#include "DialogThread.h"
#include "InstalledGhostscript.h"
#include "MessageBoxWatcher.h"
#include "PdfReport.h"
#include "LibraryExport.h"
#include "ProcessRunner.h"
#include "ScratchTemp.h"
#include "ShimLog.h"
#include "StandInButton.h"
#include "StandInCommandBar.h"
#include "StandInCommandBars.h"
#include "StandInSession.h"
#include "StandInSetup.h"
#include "TestFiles.h"
#include "UniqueHandle.h"
#include "UnixChild.h"
#include "UnixShell.h"
#include "resource.h"

namespace {

const std::string kAllPages = "Pages:           6";  // the sample deck has six slides

void Copy(const std::wstring& from, const std::wstring& to) {
    ASSERT_TRUE(CopyFileW(from.c_str(), to.c_str(), FALSE)) << "cannot copy to " << std::string(to.begin(), to.end());
}

std::string Shell(const std::string& command) {
    const UnixResult result = UnixShell::Run(command);
    EXPECT_EQ(result.status, 0) << command << "\n" << result.output;
    return result.output;
}

void ExpectLines(const std::string& output, std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) EXPECT_NE(output.find(line + "\n"), std::string::npos) << line << "\n" << output;
}

// PowerPointStandIn.exe as a process of its own (another PowerPoint of the
// user), ended hard when this goes if it still runs.
class StandInProcess {
public:
    explicit StandInProcess(const std::wstring& arguments) {
        std::wstring command = L"\"" + TestFiles::Built(L"harness\\PowerPointStandIn.exe") + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
            return;
        m_process.Reset(started.hProcess);
        CloseHandle(started.hThread);
        m_threadId = started.dwThreadId;
    }
    ~StandInProcess() { End(); }
    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    // Its user-interface thread, on which the add-in's dialogs run.
    DWORD ThreadId() const { return m_threadId; }
    bool Ends(DWORD timeoutMs) const {
        return !m_process || WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0;
    }
    // As a crash, or the task manager, ends PowerPoint.
    void End() {
        if (Ends(0)) return;
        TerminateProcess(m_process.Get(), 9);
        Ends(10000);
        ForgetClassObjectsOfEndedProcesses();
    }
    // As PowerPoint's own end: its message loop ends, and it revokes its class object.
    bool Quit() const { return PostThreadMessageW(m_threadId, WM_QUIT, 0, 0) && Ends(30000); }

private:
    // Wine's rpcss keeps the class object of a process ended hard and hands it
    // to every later client: it is ended as well, and starts afresh on the next
    // call that needs it.
    static void ForgetClassObjectsOfEndedProcesses() {
        UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = snapshot && Process32FirstW(snapshot.Get(), &entry); more;
             more = Process32NextW(snapshot.Get(), &entry)) {
            if (_wcsicmp(entry.szExeFile, L"rpcss.exe") != 0) continue;
            UniqueKernelHandle rpcss(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
            if (rpcss && TerminateProcess(rpcss.Get(), 0)) WaitForSingleObject(rpcss.Get(), 10000);
        }
    }

    UniqueKernelHandle m_process;
    DWORD m_threadId = 0;
};

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

bool DefaultPrinterBecomes(const std::wstring& printer, DWORD timeoutMs) {
    return WaitFor([&] { return DefaultPrinter::Get() == printer; }, timeoutMs);
}

// Consecutive runs of the same printer are one switch: the watch may see a change twice.
std::vector<std::wstring> Switches(const std::vector<std::wstring>& changes) {
    std::vector<std::wstring> switches;
    for (const std::wstring& printer : changes)
        if (switches.empty() || switches.back() != printer) switches.push_back(printer);
    return switches;
}

}  // namespace

class EndToEnd : public ::testing::Test {
protected:
    // Installed once as a user would: the product in a folder of its own with
    // Ghostscript beside it, then Brenmoor.exe run from there.
    static void SetUpTestSuite() { Install(true); }
    // Without the bundled Ghostscript, the add-in is left to find an installed one.
    static void Install(bool bundledGhostscript) {
        program = new std::wstring(TestFiles::NewFolder(L"Program Files\\Quillset"));
        for (const wchar_t* file : {L"Brenmoor.exe", L"PrinterXP.bat", L"PrinterVista.bat"})
            CopyFileW(TestFiles::Built(std::wstring(L"setup\\") + file).c_str(), (*program + file).c_str(), FALSE);
        CopyFileW(TestFiles::Built(L"addin\\Quillset.dll").c_str(), (*program + L"Quillset.dll").c_str(), FALSE);
        if (bundledGhostscript) InstallBundledGhostscript();
        setupExitCode = STILL_ACTIVE;
        ProcessRunner::RunProcess(L"\"" + *program + L"Brenmoor.exe\"", true, &setupExitCode);
    }
    static void InstallBundledGhostscript() {
        const std::wstring gs = *program + L"gs\\gs8.64\\bin\\";
        TestFiles::NewFolder(L"Program Files\\Quillset\\gs\\gs8.64\\bin");
        for (const wchar_t* file : {L"gswin32c.exe", L"gswin32c-run", L"unix-start.exe"})
            CopyFileW(TestFiles::Built(std::wstring(L"addin\\gs\\gs8.64\\bin\\") + file).c_str(), (gs + file).c_str(),
                      FALSE);
        // CopyFileW does not keep the Unix half's execute permission.
        UnixShell::Run("chmod +x " + UnixShell::Quote(gs + L"gswin32c-run"));
    }
    static void TearDownTestSuite() {
        UniqueLibrary library(LoadLibraryW((*program + L"Quillset.dll").c_str()));
        if (const auto unregister = LibraryExport<HRESULT(WINAPI*)()>(library.Get(), "DllUnregisterServer"))
            unregister();
        delete program;
    }
    void SetUp() override { ASSERT_EQ(setupExitCode, 0u) << "Brenmoor.exe did not register the add-in"; }

    // A copy of the sample deck under `name` in a fresh folder.
    std::wstring Deck(const std::wstring& folder, const std::wstring& name) {
        const std::wstring deck = TestFiles::NewFolder(folder) + name;
        Copy(TestFiles::Source(L"samples\\Quarterly review.pptx"), deck);
        return deck;
    }

    // A five-page deck of PDF pages (quick to render) in a fresh folder.
    static std::wstring PdfDeck(const std::wstring& folder) {
        const std::wstring path = TestFiles::NewFolder(folder);
        const std::string pages = "for i in 1 2 3 4 5; do printf '%%%%Page: %d %d\\n/Helvetica findfont 40 "
                                  "scalefont setfont 72 500 moveto (Slide %d) show showpage\\n' $i $i $i; done";
        Shell("cd " + UnixShell::Quote(path) + " && (" + pages +
              ") > deck.ps && gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile=Slides.pdf deck.ps");
        return path + L"Slides.pdf";
    }

    // Opens `deck` in the stand-in and converts it through the button, with the
    // temporary folder `temp`; returns the listed file. With an `address`,
    // PowerPoint knows the deck by that address (AutoSave in the cloud). The run
    // leaves nothing in the temporary folder or at the root of C:.
    // How the user starts it: the toolbar's button in a PowerPoint with the ribbon
    // or in one without, the ribbon's button clicked, or its key tip typed.
    enum class Road { Toolbar, OlderPowerPoint, Ribbon, KeyTip };

    std::wstring Convert(const std::wstring& deck, const std::wstring& outputFolder, const DialogOptions& options,
                         const std::wstring& address = L"", const std::wstring& temp = L"e2e-temp",
                         Road road = Road::Toolbar) {
        ScratchTemp scratch(temp);
        const std::wstring produced = ConvertIn(deck, outputFolder, options, address, road);
        EXPECT_EQ(scratch.Left(), std::vector<std::wstring>{}) << "left in the temporary folder";
        EXPECT_EQ(scratch.NewAtRootOfC(), std::vector<std::wstring>{}) << "new at the root of C:";
        return produced;
    }
    std::wstring ConvertIn(const std::wstring& deck, const std::wstring& outputFolder, const DialogOptions& options,
                           const std::wstring& address, Road road) {
        MessageBoxWatcher watcher;
        StandInOptions standIn;
        standIn.deck = deck;
        standIn.address = address;
        standIn.ribbon = road != Road::OlderPowerPoint;
        StandInSession session(standIn);
        auto& bars = session.Application().CommandBars();
        EXPECT_EQ(bars.Count(), 1u) << "the add-in did not load";
        if (bars.Count() != 1) return {};
        HWND ribbon = ButtonConversion::LoadedRibbonButton(session.Host());
        EXPECT_EQ(ribbon != nullptr, standIn.ribbon) << "the ribbon's button shows in a ribbon's host alone";
        HWND powerPoint = session.Host().Window().Handle();
        ButtonConversion conversion(outputFolder, options);
        conversion.giveUp = [&] { return !watcher.Seen().empty(); };  // none is expected
        std::wstring produced;
        if (road == Road::Ribbon && ribbon)
            produced = conversion.Run([&] { ButtonConversion::ClickRibbonButton(ribbon); });
        else if (road == Road::KeyTip && ribbon)
            produced = conversion.Run([&] { ButtonConversion::TypeKeyTip(powerPoint, L"HQV"); });
        else if (road == Road::Toolbar || road == Road::OlderPowerPoint)
            produced = conversion.Run(bars.At(0).At(0));
        for (const auto& seen : watcher.Seen())
            ADD_FAILURE() << "message box: " << std::string(seen.text.begin(), seen.text.end());
        return produced;
    }

    static std::wstring* program;
    static DWORD setupExitCode;
};

namespace {
// Points the user's Documents folder somewhere else for as long as this lives.
class DocumentsFolder {
public:
    explicit DocumentsFolder(const std::wstring& folder) {
        wchar_t old[MAX_PATH] = {};
        DWORD size = sizeof old;
        m_had = RegGetValueW(HKEY_CURRENT_USER, kKey, L"Personal", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                             RRF_NOEXPAND, &m_type, old, &size) == ERROR_SUCCESS;
        m_old = old;
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Personal", REG_SZ, folder.c_str(),
                        static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    }
    ~DocumentsFolder() {
        if (m_had)
            RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Personal", m_type, m_old.c_str(),
                            static_cast<DWORD>((m_old.size() + 1) * sizeof(wchar_t)));
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"Personal");
    }
    DocumentsFolder(const DocumentsFolder&) = delete;
    DocumentsFolder& operator=(const DocumentsFolder&) = delete;

private:
    static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    bool m_had = false;
    DWORD m_type = REG_SZ;
    std::wstring m_old;
};
}  // namespace
std::wstring* EndToEnd::program = nullptr;
DWORD EndToEnd::setupExitCode = STILL_ACTIVE;

TEST_F(EndToEnd, DocumentInformationAndJpegImagesAtVersion13IntoAFolderWithBlanksAndPercent) {
    const std::wstring deck = Deck(L"e2e-information", L"Quarterly review.pptx");
    const std::wstring output = TestFiles::NewFolder(L"e2e out 100% sure");
    const DialogOptions options = {{L"title", L"Q3 (draft) \\ \u7B2C\u4E09\u5B63\u5EA6 (final"},
                                   {L"author", L"Ops \\\\ Finance (EMEA)"},
                                   {L"subject", L"Budget ((nested)) \\"},
                                   {L"keywords", L"\u5B63\u5EA6, review) 2026"},
                                   {L"image-compression", L"JPEG"},
                                   {L"pdf-version", L"V1.3"}};
    ASSERT_EQ(Convert(deck, output, options, L"", L"e2e-temp", Road::Ribbon), L"Quarterly review.pdf");

    const std::string pdf = UnixShell::Quote(output + L"Quarterly review.pdf");
    ExpectLines(Shell("pdfinfo " + pdf),
                {"Title:           Q3 (draft) \\ \u7B2C\u4E09\u5B63\u5EA6 (final", "Author:          Ops \\\\ Finance (EMEA)",
                 "Subject:         Budget ((nested)) \\", "Keywords:        \u5B63\u5EA6, review) 2026",
                 kAllPages, "PDF version:     1.3", "Encrypted:       no"});
    const auto encodings = PdfReport::ImageEncodings(Shell("pdfimages -list " + pdf));
    ASSERT_FALSE(encodings.empty());
    for (const auto& encoding : encodings) EXPECT_EQ(encoding, "jpeg");
}

TEST_F(EndToEnd, HighEncryptionWithAQuotedPasswordFlateImagesAtVersion15) {
    const std::wstring deck = Deck(L"e2e-encryption", L"Q3.review.final.pptx");
    const std::wstring folder = deck.substr(0, deck.rfind(L'\\') + 1);
    const DialogOptions options = {{L"user-password", L"say \"hi\"\\"}, {L"owner-password", L"boss (2)"},
                                   {L"encryption", L"128"},           {L"tick", L"copying"},
                                   {L"image-compression", L"Flate"},  {L"pdf-version", L"V1.5"}};
    ASSERT_EQ(Convert(deck, folder, options), L"Q3.review.final.pdf");

    const std::string pdf = UnixShell::Quote(folder + L"Q3.review.final.pdf");
    const std::string user = UnixShell::QuoteText("say \"hi\"\\");
    ExpectLines(Shell("qpdf --show-encryption --password=" + user + " " + pdf),
                {"R = 3", "P = -3376", "Supplied password is user password", "extract for any purpose: allowed",
                 "extract for accessibility: allowed", "print high resolution: not allowed", "modify forms: not allowed"});
    ExpectLines(Shell("qpdf --show-encryption --password='boss (2)' " + pdf),
                {"Supplied password is owner password", "User password = say \"hi\"\\"});
    for (const char* wrong : {"say \"hi\"", "say \"hi\"\\\\", "say \\\"hi\\\"\\", ""})
        EXPECT_NE(UnixShell::Run("qpdf --check --password=" + UnixShell::QuoteText(wrong) + " " + pdf).status, 0)
            << "opens with [" << wrong << "]";
    ExpectLines(Shell("pdfinfo -upw " + user + " " + pdf), {kAllPages, "PDF version:     1.5"});
    const auto encodings = PdfReport::ImageEncodings(Shell("pdfimages -list -upw " + user + " " + pdf));
    ASSERT_FALSE(encodings.empty());
    for (const auto& encoding : encodings) EXPECT_EQ(encoding, "image") << "Flate images are listed as \"image\"";
}

TEST_F(EndToEnd, LowEncryptionOfADeckNamedWithoutADotAtVersion14) {
    const std::wstring deck = Deck(L"e2e-no-dot", L"Budget");
    const std::wstring folder = deck.substr(0, deck.rfind(L'\\') + 1);
    const DialogOptions options = {
        {L"owner-password", L"owner"}, {L"encryption", L"40"}, {L"tick", L"printing"}, {L"pdf-version", L"V1.4"}};
    ASSERT_EQ(Convert(deck, folder, options, L"", L"e2e-temp", Road::OlderPowerPoint), L"Budget.pdf");

    const std::string pdf = UnixShell::Quote(folder + L"Budget.pdf");
    ExpectLines(Shell("qpdf --show-encryption --password=owner " + pdf),
                {"R = 2", "P = -60", "Supplied password is owner password", "print low resolution: allowed",
                 "extract for any purpose: not allowed", "modify other: not allowed"});
    ExpectLines(Shell("pdfinfo " + pdf), {kAllPages, "PDF version:     1.4"});
}

TEST_F(EndToEnd, DeckNamedInLettersBeyondAsciiWithTheDefaults) {
    const std::wstring name = L"\u00DCbersicht M\u00E4rz \u00C6r\u00F8";
    const std::wstring deck = Deck(L"e2e-letters", name + L".pptx");
    const std::wstring folder = deck.substr(0, deck.rfind(L'\\') + 1);
    ASSERT_EQ(Convert(deck, folder, {}, L"", L"e2e-temp", Road::KeyTip), name + L".pdf");
    ExpectLines(Shell("pdfinfo " + UnixShell::Quote(folder + name + L".pdf")),
                {kAllPages, "PDF version:     1.3"});
}

// Ghostscript 8.64 gets its command line in the ANSI code page: U+FF02 becomes a
// quotation mark, U+FF05 a percent sign, U+FF3C a backslash, Chinese '?'. The
// user's temporary folder is named beyond ASCII too (an accented user name).
TEST_F(EndToEnd, DeckAndFoldersNamedWithFullWidthSignsChineseAndAccentsGiveTheRightFile) {
    const std::wstring name = L"Q3 \uFF02 -dNOSAFER \uFF02 \uFF05pipe\uFF05 \uFF3C \u5B63\u5EA6 \u00C9t\u00E9";
    const std::wstring deck = Deck(L"e2e \uFF02\uFF05\uFF3C \u62A5\u544A Caf\u00E9", name + L".pptx");
    const std::wstring output =
        TestFiles::NewFolder(L"e2e out \uFF02 -sOutputFile=\uFF05pipe\uFF05cat \uFF3C \u6587\u4EF6 na\u00EFve");
    ASSERT_EQ(Convert(deck, output, {}, L"", L"e2e temp Zo\u00EB \u7528\u6237"), name + L".pdf");
    ExpectLines(Shell("pdfinfo " + UnixShell::Quote(output + name + L".pdf")), {kAllPages});

    const auto args = ShimLog::LastRun(*program + L"gs\\gs8.64\\bin\\gswin32c.log");
    ASSERT_EQ(args.size(), 12u) << "an argument was added or split";
    for (const std::string& arg : args) {
        EXPECT_TRUE(ShimLog::IsPlainAscii(arg)) << arg;
        EXPECT_NE(arg, "-dNOSAFER");
    }
    EXPECT_EQ(ShimLog::LastRun(*program + L"gs\\gs8.64\\bin\\gswin32c.cwd"),
              std::vector<std::string>{UnixChild::Utf8(*program + L"gs\\gs8.64\\bin")});
}

// AutoSave on SharePoint: PowerPoint names the deck by its address, opens it by
// that address, and the PDF goes to Documents under the address's decoded name.
TEST_F(EndToEnd, DeckInTheCloudGoesToDocumentsUnderItsDecodedName) {
    const std::wstring deck = Deck(L"e2e-cloud", L"local copy.pptx");
    const std::wstring documents = TestFiles::NewFolder(L"e2e-documents");
    DocumentsFolder moved(documents.substr(0, documents.size() - 1));
    const std::wstring address =
        L"https://contoso-my.sharepoint.com/personal/ada_contoso_com/Documents/Q3%20r%C3%A9sum%C3%A9.final.pptx";
    const std::wstring name = L"Q3 r\u00E9sum\u00E9.final.pdf";
    ASSERT_EQ(Convert(deck, L"", {}, address), name);
    ExpectLines(Shell("pdfinfo " + UnixShell::Quote(documents + name)), {kAllPages});
}

// What the user typed or chose is refused at Convert, before the default printer
// changes: the Advanced page's typed texts that are no entry (case and blanks
// aside), and a relative folder, though one of that name is PowerPoint's current.
TEST_F(EndToEnd, TypedListTextsThatAreNoEntryAndRelativeFoldersAreRefusedBeforeAnythingIsPrinted) {
    const std::wstring deck = Deck(L"e2e-typed", L"Typed.pptx");
    const std::wstring folder = deck.substr(0, deck.rfind(L'\\') + 1);
    const std::wstring parent = folder.substr(0, folder.rfind(L'\\', folder.size() - 2) + 1);
    wchar_t current[MAX_PATH] = {};
    ASSERT_TRUE(GetCurrentDirectoryW(MAX_PATH, current));
    ASSERT_TRUE(SetCurrentDirectoryW(parent.c_str()));
    const struct {
        std::wstring folder;
        DialogOptions options;
        std::wstring refusal;
    } rows[] = {
        {folder, {{L"document-compression", L"typed:ZIP"}},
         L"\"ZIP\" is not an entry of the list Document Compression. Choose one of: Flate, LZW."},
        {folder, {{L"image-compression", L"typed:JPEG 2000"}},
         L"\"JPEG 2000\" is not an entry of the list Images Compression. Choose one of: Flate, JPEG, Automatic."},
        {folder, {{L"jpeg-quality", L"typed:75"}},
         L"\"75\" is not an entry of the list JPEG Quality. Choose one of: Minimum, Low, Medium, Maximum."},
        {folder, {{L"pdf-version", L"typed: 1.4"}},
         L"\" 1.4\" is not an entry of the list PDF Version. Choose one of: V1.3(Acrobat 4.xx), V1.4(Acrobat 4.xx), "
         L"V1.5(Acrobat 4.xx)."},
        {L"e2e-typed\\", {}, L"Wrong Path cause wrong, Input a valid file path!"},
    };
    for (const auto& row : rows) {
        MessageBoxWatcher watcher;
        DefaultPrinterWatch printers;
        StandInOptions standIn;
        standIn.deck = deck;
        StandInSession session(standIn);
        ASSERT_EQ(session.Application().CommandBars().Count(), 1u) << "the add-in did not load";
        ButtonConversion conversion(row.folder, row.options);
        conversion.giveUp = [&] { return !watcher.Seen().empty(); };
        EXPECT_EQ(conversion.Run(session.Application().CommandBars().At(0).At(0)), L"");
        const auto seen = watcher.Seen();
        ASSERT_EQ(seen.size(), 1u) << std::string(row.refusal.begin(), row.refusal.end());
        EXPECT_EQ(seen[0].text, row.refusal);
        EXPECT_EQ(seen[0].caption, L"Quillset");
        EXPECT_TRUE(printers.Watching());
        EXPECT_TRUE(printers.Changes().empty()) << "the default printer was switched";
        EXPECT_FALSE(TestFiles::Exists(folder + L"Typed.pdf"));
    }
    SetCurrentDirectoryW(current);

    // The entries themselves, typed in other cases between blanks.
    const DialogOptions typed = {{L"document-compression", L"typed:lzw"},
                                 {L"image-compression", L"typed:  jpeg "},
                                 {L"jpeg-quality", L"typed:MAXIMUM"},
                                 {L"pdf-version", L"typed:\tv1.5(ACROBAT 4.XX) "}};
    ASSERT_EQ(Convert(deck, folder, typed), L"Typed.pdf");
    const std::string pdf = UnixShell::Quote(folder + L"Typed.pdf");
    ExpectLines(Shell("pdfinfo " + pdf), {kAllPages, "PDF version:     1.5"});
    const auto encodings = PdfReport::ImageEncodings(Shell("pdfimages -list " + pdf));
    ASSERT_FALSE(encodings.empty());
    for (const auto& encoding : encodings) EXPECT_EQ(encoding, "jpeg");
}

// A folder deeper than 260 characters gets the PDF, and asks before replacing it.
TEST_F(EndToEnd, AFolderDeeperThanMaxPathGetsThePdfAndAsksBeforeReplacingIt) {
    const std::wstring deck = Deck(L"e2e-deep", L"Deep.pptx");
    std::wstring deep = TestFiles::NewFolder(L"e2e-deep-out");
    for (int level = 0; deep.size() <= 280; ++level) {
        deep += L"level " + std::to_wstring(level) + L" " + std::wstring(40, L'd') + L"\\";
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    ASSERT_EQ(Convert(deck, deep, {}), L"Deep.pdf");
    ExpectLines(Shell("pdfinfo " + UnixShell::Quote(deep + L"Deep.pdf")), {kAllPages});

    ASSERT_TRUE(TestFiles::Write(deep + L"Deep.pdf", "%PDF-1.3 the user's own\n"));
    MessageBoxWatcher watcher(IDNO);
    StandInOptions standIn;
    standIn.deck = deck;
    StandInSession session(standIn);
    ASSERT_EQ(session.Application().CommandBars().Count(), 1u) << "the add-in did not load";
    ButtonConversion conversion(deep, {});
    conversion.giveUp = [&] { return !watcher.Seen().empty(); };
    EXPECT_EQ(conversion.Run(session.Application().CommandBars().At(0).At(0)), L"");
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, deep + L"Deep.pdf already exists. Do you want to replace it?");
    EXPECT_EQ(TestFiles::Read(deep + L"Deep.pdf"), "%PDF-1.3 the user's own\n");
}

// A file that is no presentation: the run ends on the product's own message, with
// neither a Finish dialog nor a PDF; the dialog is closed once its job is over
// (make demo relies on this to end at once).
TEST_F(EndToEnd, AFileThatIsNoPresentationEndsOnTheProductsMessage) {
    const std::wstring folder = TestFiles::NewFolder(L"e2e-no-presentation");
    ASSERT_TRUE(TestFiles::Write(folder + L"broken.pptx", "this is not a presentation\n"));
    ASSERT_TRUE(DefaultPrinter::Set(StandInSetup::kUserPrinter));
    MessageBoxWatcher watcher(IDCANCEL);
    watcher.SetNote([] { return DefaultPrinter::Get(); });
    StandInOptions standIn;
    standIn.deck = folder + L"broken.pptx";
    StandInSession session(standIn);
    auto& bars = session.Application().CommandBars();
    ASSERT_EQ(bars.Count(), 1u) << "the add-in did not load";
    ButtonConversion conversion(folder, {});
    HWND dialog = nullptr;
    conversion.afterConvert = [&](const ConvertDialogDriver& driver) { dialog = driver.Dialog(); };
    conversion.giveUp = [&] { return watcher.Seen().size() >= 2; };
    EXPECT_EQ(conversion.Run(bars.At(0).At(0)), L"");

    const auto seen = watcher.Seen();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front().caption, L"Quillset");
    EXPECT_EQ(seen.front().text, L"PowerPoint could not print the presentation.");
    // The user reads it with their own default printer back, in front of the dialog it concerns.
    EXPECT_EQ(seen.front().noted, StandInSetup::kUserPrinter);
    EXPECT_EQ(seen[1].text, folder + L"broken.pdf convert failed!");
    for (size_t i = 0; i < 2; ++i) EXPECT_EQ(seen[i].owner, dialog) << UnixChild::Utf8(seen[i].text);
    for (const auto& box : seen)
        EXPECT_NE(box.text, L"Working now,Hold for a moment!") << "closed while the job still ran";
    EXPECT_EQ(GetFileAttributesW((folder + L"broken.pdf").c_str()), INVALID_FILE_ATTRIBUTES);
}

// PowerPoint ended hard while the deck prints leaves Inkharbor the default of
// every program; the next PowerPoint puts the user's back as the add-in connects.
TEST_F(EndToEnd, DefaultPrinterOfARunEndedHardIsBackOnceTheAddinConnectsAgain) {
    const std::wstring deck = PdfDeck(L"e2e-ended");
    ASSERT_TRUE(DefaultPrinter::Set(StandInSetup::kUserPrinter));
    MessageBoxWatcher watcher(IDOK, true);
    {
        StandInProcess ended(L"--click --slow-print=60 " + Quoted(deck));
        ConvertDialogDriver dialog(ended.ThreadId());
        ASSERT_NE(dialog.Dialog(), nullptr) << "no Convert dialog";
        dialog.SetText(IDC_OUTPUT_FOLDER, TestFiles::NewFolder(L"e2e-ended-out"));
        dialog.Click(IDOK);
        ASSERT_TRUE(DefaultPrinterBecomes(L"Inkharbor", 60000)) << "the run never switched";
        ended.End();
    }
    ASSERT_EQ(DefaultPrinter::Get(), L"Inkharbor");
    StandInProcess again(Quoted(deck));
    EXPECT_TRUE(DefaultPrinterBecomes(StandInSetup::kUserPrinter, 30000)) << UnixChild::Utf8(DefaultPrinter::Get());
    // The journal goes once the default is back and announced.
    EXPECT_TRUE(WaitFor([] {
        UniqueRegistryKey journal;
        return RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quillset", 0, KEY_READ, journal.Put()) != ERROR_SUCCESS;
    })) << "the journal stays";
    EXPECT_TRUE(again.Quit());
    EXPECT_TRUE(watcher.Seen().empty());
}

// Two PowerPoints of the user convert at once: each switch is undone before
// the next is made, and the user's default is theirs at the end.
TEST_F(EndToEnd, TwoPowerPointsConvertingAtOnceTakeTurnsWithTheDefaultPrinter) {
    const std::wstring first = PdfDeck(L"e2e-turns-first"), second = PdfDeck(L"e2e-turns-second");
    ASSERT_TRUE(DefaultPrinter::Set(StandInSetup::kUserPrinter));
    MessageBoxWatcher watcher(IDOK, true);
    DefaultPrinterWatch printers;
    ASSERT_TRUE(printers.Watching());
    // Under Wine the second stand-in's class object yields to the first's: the
    // second run prints through the first's Application, as through one
    // PowerPoint, and both prints take 20 s: the second asks for the printer
    // well inside the first's print.
    StandInProcess one(L"--click --slow-print=20 " + Quoted(first));
    ConvertDialogDriver dialogOne(one.ThreadId());
    ASSERT_NE(dialogOne.Dialog(), nullptr);
    const std::wstring outOne = TestFiles::NewFolder(L"e2e-turns-first-out");
    const std::wstring outTwo = TestFiles::NewFolder(L"e2e-turns-second-out");
    dialogOne.SetText(IDC_OUTPUT_FOLDER, outOne);
    dialogOne.Click(IDOK);
    ASSERT_TRUE(DefaultPrinterBecomes(L"Inkharbor", 60000))
        << (watcher.Seen().empty() ? std::string() : UnixChild::Utf8(watcher.Seen()[0].text));
    // The second asks while the first has switched.
    StandInProcess two(L"--click --slow-print=5 " + Quoted(second));
    ConvertDialogDriver dialogTwo(two.ThreadId());
    ASSERT_NE(dialogTwo.Dialog(), nullptr);
    dialogTwo.SetText(IDC_OUTPUT_FOLDER, outTwo);
    // Nor may the second PowerPoint's add-in, as it connects, take the first run's switch for a crashed one.
    ASSERT_EQ(DefaultPrinter::Get(), L"Inkharbor") << "the default changed under the first run's print";
    dialogTwo.Click(IDOK);
    // The second waits: the first prints on for seconds yet with Inkharbor the default.
    EXPECT_FALSE(WaitFor([] { return DefaultPrinter::Get() != L"Inkharbor"; }, 3000))
        << "the default changed under the first run's print";
    std::vector<HWND> finishes;
    for (const ConvertDialogDriver* dialog : {&dialogOne, &dialogTwo}) {
        finishes.push_back(dialog->WaitForFinish(180000));
        EXPECT_NE(finishes.back(), nullptr) << "a run failed";
    }
    for (HWND finish : finishes) {
        if (finish) PostMessageW(finish, WM_COMMAND, IDCANCEL, 0);
        WaitFor([&] { return !IsWindow(finish); });
    }
    // The first PowerPoint serves the second's calls until both are done.
    dialogTwo.SysCommand(SC_CLOSE);
    EXPECT_TRUE(two.Ends(30000));
    dialogOne.SysCommand(SC_CLOSE);
    EXPECT_TRUE(one.Ends(30000));
    EXPECT_EQ(DefaultPrinter::Get(), StandInSetup::kUserPrinter);
    const std::vector<std::wstring> switches = Switches(printers.Changes());
    std::string seen;
    for (const std::wstring& printer : printers.Changes()) seen += UnixChild::Utf8(printer) + " | ";
    ASSERT_FALSE(switches.empty());
    EXPECT_EQ(switches.back(), StandInSetup::kUserPrinter) << seen;
    // A run that put the user's printer back under another's feet shows as two restores in a row.
    for (size_t i = 1; i < printers.Changes().size(); ++i)
        EXPECT_FALSE(printers.Changes()[i] == StandInSetup::kUserPrinter &&
                     printers.Changes()[i - 1] == StandInSetup::kUserPrinter)
            << seen;
    for (const std::wstring& out : {outOne, outTwo})
        ExpectLines(Shell("pdfinfo " + UnixShell::Quote(out + L"Slides.pdf")), {"Pages:           5"});
    EXPECT_TRUE(watcher.Seen().empty());
}

// The same road with no Ghostscript beside the add-in, only a current one
// installed by its official installer: Ghostscript 10 gets the product's
// command line unaided.
class EndToEndInstalledGhostscript : public EndToEnd {
protected:
    static void SetUpTestSuite() {
        installed = new InstalledGhostscript();
        Install(false);
    }
    static void TearDownTestSuite() {
        EndToEnd::TearDownTestSuite();
        delete installed;
    }
    void SetUp() override {
        EndToEnd::SetUp();
        ASSERT_TRUE(installed->Ready());
        ASSERT_FALSE(TestFiles::Exists(*program + L"gs")) << "no bundled Ghostscript";
    }

    static InstalledGhostscript* installed;
};
InstalledGhostscript* EndToEndInstalledGhostscript::installed = nullptr;

TEST_F(EndToEndInstalledGhostscript, InformationLowEncryptionAndFlateImagesAtVersion14) {
    const std::wstring deck = Deck(L"e2e-installed", L"Quarterly review.pptx");
    const std::wstring folder = deck.substr(0, deck.rfind(L'\\') + 1);
    const DialogOptions options = {{L"title", L"Q3 \u7B2C\u4E09\u5B63\u5EA6 (final)"},
                                   {L"author", L"Ops \\ Finance"},
                                   {L"user-password", L"open"},
                                   {L"owner-password", L"boss"},
                                   {L"encryption", L"40"},
                                   {L"tick", L"printing"},
                                   {L"image-compression", L"Flate"},
                                   {L"pdf-version", L"V1.4"}};
    ASSERT_EQ(Convert(deck, folder, options), L"Quarterly review.pdf");

    const std::string pdf = UnixShell::Quote(folder + L"Quarterly review.pdf");
    ExpectLines(Shell("pdfinfo -upw open " + pdf),
                {"Title:           Q3 \u7B2C\u4E09\u5B63\u5EA6 (final)", "Author:          Ops \\ Finance", kAllPages,
                 "PDF version:     1.4"});
    ExpectLines(Shell("qpdf --show-encryption --password=boss " + pdf),
                {"R = 2", "P = -60", "Supplied password is owner password", "User password = open",
                 "print low resolution: allowed", "modify other: not allowed"});
    const auto encodings = PdfReport::ImageEncodings(Shell("pdfimages -list -upw open " + pdf));
    ASSERT_FALSE(encodings.empty());
    for (const auto& encoding : encodings) EXPECT_EQ(encoding, "image") << "Flate images are listed as \"image\"";
    const std::string log = installed->Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(log.find(".setpdfwrite"), std::string::npos) << log;
}
