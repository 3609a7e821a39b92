// The PowerPoint stand-in's printing, and a saved deck turned into a PDF
// through it, with PowerPoint's calls served on this (the user-interface) thread.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ComApartment.h"
#include "DefaultPrinter.h"
#include "DefaultPrinterWatch.h"
#include "DispatchCall.h"
#include "GhostscriptRun.h"
#include "ImportPatch.h"
#include "MessageBoxWatcher.h"
#include "ModulePath.h"
#include "OfficeIds.h"
#include "PresentationConverter.h"
#include "RejectedCallFilter.h"
#include "StandInPresentation.h"
#include "StandInSession.h"
#include "StandInSetup.h"
#include "TestFiles.h"
#include "UnixChild.h"
#include "UnixShell.h"
#include "UniqueHandle.h"

namespace {

const wchar_t kUserPrinter[] = L"Office Laser";
const wchar_t kDevices[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices";
const wchar_t kWindows[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

std::wstring UserValue(const wchar_t* key, const wchar_t* name) {
    wchar_t value[512] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"<none>";
    return value;
}

bool SetUserValue(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// Takes a printer out of the user's list of devices, where the spooler looks up
// a new default printer, as if it were not installed; puts it back when it goes.
class UninstalledPrinter {
public:
    explicit UninstalledPrinter(const wchar_t* name) : m_name(name), m_value(UserValue(kDevices, name)) {}
    ~UninstalledPrinter() {
        if (m_removed) SetUserValue(kDevices, m_name, m_value);
    }
    UninstalledPrinter(const UninstalledPrinter&) = delete;
    UninstalledPrinter& operator=(const UninstalledPrinter&) = delete;
    bool Remove() {
        m_removed = m_value != L"<none>" && RegDeleteKeyValueW(HKEY_CURRENT_USER, kDevices, m_name) == ERROR_SUCCESS;
        return m_removed;
    }

private:
    const wchar_t* m_name;
    std::wstring m_value;
    bool m_removed = false;
};

// A hidden top-level window of this thread that notes, for each broadcast of a
// change to the "windows" settings, the default printer and a count then.
class SettingsListener {
public:
    struct Heard {
        std::wstring printer;
        size_t count;
    };
    explicit SettingsListener(std::function<size_t()> count) : m_count(std::move(count)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuillsetSettingsListener";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   windowClass.hInstance, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~SettingsListener() { DestroyWindow(m_window); }
    SettingsListener(const SettingsListener&) = delete;
    SettingsListener& operator=(const SettingsListener&) = delete;
    const std::vector<Heard>& HeardSoFar() const { return m_heard; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<SettingsListener*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_SETTINGCHANGE && lParam &&
            std::wstring(reinterpret_cast<const wchar_t*>(lParam)) == L"windows")
            self->m_heard.push_back({DefaultPrinter::Get(), self->m_count()});
        return DefWindowProcW(window, message, wParam, lParam);
    }

    std::function<size_t()> m_count;
    std::vector<Heard> m_heard;
    HWND m_window = nullptr;
};

class PrintingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_decks = TestFiles::NewFolder(L"decks");
        // A 5-page PDF deck renders fast; the real .pptx goes through LibreOffice.
        const std::string pages = "for i in 1 2 3 4 5; do printf '%%%%Page: %d %d\\n/Helvetica findfont 40 "
                                  "scalefont setfont 72 500 moveto (Slide %d) show showpage\\n' $i $i $i; done";
        UnixShell::Run("cd " + UnixShell::Quote(s_decks) + " && (" + pages +
                       ") > deck.ps && gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile='Five "
                       "slides.pdf' deck.ps && cp " +
                       UnixShell::Quote(TestFiles::Source(L"samples\\Quarterly review.pptx")) + " .");
    }

    void SetUp() override {
        DefaultPrinter::Set(kUserPrinter);
        out = TestFiles::NewFolder(L"printing-out");
        options.presentationPath = s_decks + L"Five slides.pdf";
        options.outputFolder = out;
    }

    void TearDown() override { DefaultPrinter::Set(kUserPrinter); }

    std::wstring Pdf() const { return out + L"Five slides.pdf"; }

    bool Convert(StandInSession& session) {
        bool converted = false;
        session.RunOnWorker([&] { converted = PresentationConverter::ConvertPresentation(options); });
        return converted;
    }

    static int PageCount(const std::wstring& pdf) {
        UnixResult info = UnixShell::Run("pdfinfo " + UnixShell::Quote(pdf) + " | sed -n 's/^Pages: *//p'");
        return info.status == 0 ? std::atoi(info.output.c_str()) : -1;
    }

    static size_t GhostscriptRuns() {
        const std::string log = TestFiles::Read(GhostscriptRun::InterpreterFolder() + L"gswin32c.log");
        size_t lines = 0;
        for (char c : log) lines += c == '\n';
        return lines;
    }

    static std::wstring s_decks;
    std::wstring out;
    ConversionOptions options;
};

std::wstring PrintingTest::s_decks;

// The spooler of a Windows that manages the default printer itself: the job
// stays queued for two looks after the printed file is complete, and as it
// leaves, the printer used last (Inkharbor) becomes the default.
struct ManagingSpooler {
    static BOOL WINAPI EnumJobs(HANDLE, DWORD, DWORD, DWORD, LPBYTE, DWORD, LPDWORD needed, LPDWORD returned) {
        *returned = 0;
        if (++looks < 3) {
            *needed = 64;
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        if (looks == 3) DefaultPrinter::Set(L"Inkharbor");
        *needed = 0;
        return TRUE;
    }
    static std::atomic<int> looks;
};
std::atomic<int> ManagingSpooler::looks{0};

StandInOptions Deck(const std::wstring& path) {
    StandInOptions options;
    options.deck = path;
    options.loadAddins = false;
    return options;
}

}  // namespace

TEST_F(PrintingTest, InkharborPrintsOnePostScriptPagePerSlideOtherPrintersDoNot) {
    StandInSession session(Deck(s_decks + L"Quarterly review.pptx"));
    ASSERT_EQ(session.Application().Active()->Printer(), kUserPrinter);
    auto print = [&](const std::wstring& file) {
        auto from = UniqueVariant::Int(-1), to = UniqueVariant::Int(-1), name = UniqueVariant::String(file);
        return DispatchCall(session.Application().Active()).Method(2034, {from.Get(), to.Get(), name.Get()});
    };
    EXPECT_EQ(print(out + L"laser.prn"), S_OK);
    EXPECT_EQ(TestFiles::Read(out + L"laser.prn").find("%!PS"), std::string::npos);

    DefaultPrinter::Set(L"Inkharbor");
    // The printer is taken when a presentation opens: the open one still prints on the laser.
    EXPECT_EQ(print(out + L"still-laser.prn"), S_OK);
    EXPECT_EQ(TestFiles::Read(out + L"still-laser.prn").find("%!PS"), std::string::npos);

    session.Application().OpenPresentation(s_decks + L"Quarterly review.pptx", true);
    EXPECT_EQ(print(out + L"deck.ps"), S_OK);
    const std::string postScript = TestFiles::Read(out + L"deck.ps");
    EXPECT_EQ(postScript.rfind("%!PS", 0), 0u);
    size_t pages = 0;
    for (size_t at = postScript.find("\n%%Page:"); at != std::string::npos; at = postScript.find("\n%%Page:", at + 1))
        ++pages;
    EXPECT_EQ(pages, 6u);
}

// The stand-in takes what PowerPoint's dispatch coerces and refuses the rest
// before anything opens, prints or closes.
TEST_F(PrintingTest, PowerPointsArgumentsAreCheckedAsPowerPointChecksThem) {
    StandInSession session(Deck(s_decks + L"Five slides.pdf"));
    StandInApplication& application = session.Application();
    ComRef<IDispatch> presentations;
    ASSERT_EQ(DispatchCall(&application).GetDispatch(2001, presentations), S_OK);
    const std::wstring deck = s_decks + L"Five slides.pdf";
    auto name = UniqueVariant::String(deck), yes = UniqueVariant::Int(-1), no = UniqueVariant::Int(0);
    auto word = UniqueVariant::String(L"yes"), five = UniqueVariant::Int(5), textTrue = UniqueVariant::String(L"-1");
    auto boolTrue = UniqueVariant::Bool(true), missing = UniqueVariant::Missing(), one = UniqueVariant::Int(1);
    auto open = [&](std::initializer_list<VARIANT*> args) {
        return DispatchCall(presentations.Get()).Method(OfficeIds::kPresentationsOpen, args);
    };
    EXPECT_EQ(open({name.Get(), word.Get(), yes.Get(), yes.Get()}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(open({name.Get(), yes.Get(), five.Get(), yes.Get()}), E_INVALIDARG);
    EXPECT_EQ(open({missing.Get(), yes.Get()}), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(open({name.Get(), yes.Get(), yes.Get(), yes.Get(), yes.Get()}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(application.Count(), 1u) << "a refused Open opens nothing";
    // Coercible values pass, as they do in PowerPoint: "-1" and True are msoTrue.
    EXPECT_EQ(open({name.Get(), textTrue.Get(), boolTrue.Get(), yes.Get()}), S_OK);
    ASSERT_EQ(application.Count(), 2u);

    IDispatch* copy = application.Active();
    auto file = UniqueVariant::String(out + L"refused.ps"), zero = UniqueVariant::Int(0), two = UniqueVariant::Int(2);
    auto print = [&](std::initializer_list<VARIANT*> args) {
        return DispatchCall(copy).Method(OfficeIds::kPresentationPrintOut, args);
    };
    EXPECT_EQ(print({yes.Get(), yes.Get(), file.Get(), zero.Get(), yes.Get()}), E_INVALIDARG);  // no copies
    EXPECT_EQ(print({two.Get(), one.Get(), file.Get(), one.Get(), yes.Get()}), E_INVALIDARG);   // From after To
    EXPECT_EQ(print({zero.Get(), yes.Get(), file.Get(), one.Get(), yes.Get()}), E_INVALIDARG);  // no slide 0
    EXPECT_EQ(print({yes.Get(), yes.Get(), file.Get(), one.Get(), word.Get()}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(print({yes.Get(), yes.Get(), file.Get(), one.Get(), five.Get()}), E_INVALIDARG);
    EXPECT_EQ(print({yes.Get(), yes.Get(), file.Get(), one.Get(), yes.Get(), yes.Get()}), DISP_E_BADPARAMCOUNT);
    EXPECT_FALSE(TestFiles::Exists(out + L"refused.ps")) << "a refused PrintOut prints nothing";
    EXPECT_EQ(DispatchCall(copy).Method(OfficeIds::kPresentationClose, {no.Get()}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(application.Count(), 2u) << "a refused Close closes nothing";
    EXPECT_EQ(DispatchCall(copy).Method(OfficeIds::kPresentationClose), S_OK);
    EXPECT_EQ(application.Count(), 1u);
}

TEST_F(PrintingTest, SavedDeckBecomesAPdfAndTheUsersStateIsKept) {
    options.presentationPath = s_decks + L"Quarterly review.pptx";
    StandInSession session(Deck(options.presentationPath));
    session.Application().Active()->SetSaved(false);
    DefaultPrinterWatch printers;
    ASSERT_TRUE(Convert(session));
    // Seen while it ran: the user's printer at the end, and no printer but that one and Inkharbor.
    const auto changes = printers.Changes();
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), kUserPrinter);
    for (const std::wstring& printer : changes)
        EXPECT_TRUE(printer == kUserPrinter || printer == L"Inkharbor") << UnixChild::Utf8(printer);
    EXPECT_EQ(PageCount(out + L"Quarterly review.pdf"), 6);
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
    // The copy is closed; the user's own presentation is open and unchanged.
    ASSERT_EQ(session.Application().Count(), 1u);
    EXPECT_EQ(session.Application().Active()->FullName(), options.presentationPath);
    EXPECT_FALSE(session.Application().Active()->Saved());
    EXPECT_TRUE(session.Application().Visible());
}

// With a window per presentation the copy need not become the active one: the
// user's deck must be neither printed nor closed.
TEST_F(PrintingTest, TheCopyOpenedIsPrintedAndClosedNotTheActivePresentation) {
    StandInOptions standIn = Deck(options.presentationPath);
    standIn.openBehind = true;
    StandInSession session(standIn);
    ComRef<StandInPresentation> users(session.Application().Active());
    users->SetSaved(false);
    ASSERT_TRUE(Convert(session));
    EXPECT_EQ(PageCount(Pdf()), 5);
    ASSERT_EQ(session.Application().Count(), 1u) << "the copy must be closed";
    EXPECT_EQ(session.Application().Active(), users.Get());
    EXPECT_EQ(users->PrintCount(), 0);
    EXPECT_FALSE(users->Saved());
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
}

TEST_F(PrintingTest, FailingPowerPointCallsEndTheRunCleanly) {
    struct Case {
        bool failOpen, failPrintOut;
        const wchar_t* message;
    };
    for (const Case& c : {Case{true, false, L"PowerPoint could not open the presentation "},
                          Case{false, true, L"PowerPoint could not print the presentation."}}) {
        StandInOptions standIn = Deck(options.presentationPath);
        standIn.failOpen = c.failOpen;
        standIn.failPrintOut = c.failPrintOut;
        StandInSession session(standIn);
        MessageBoxWatcher watcher;
        const size_t runs = GhostscriptRuns();
        EXPECT_FALSE(Convert(session));
        EXPECT_FALSE(TestFiles::Exists(Pdf()));
        EXPECT_EQ(GhostscriptRuns(), runs) << "Ghostscript must not run";
        EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
        EXPECT_EQ(session.Application().Count(), 1u) << "the copy must be closed";
        ASSERT_EQ(watcher.Seen().size(), 1u);
        EXPECT_EQ(watcher.Seen()[0].text.rfind(c.message, 0), 0u) << UnixChild::Utf8(watcher.Seen()[0].text);
        EXPECT_EQ(watcher.Seen()[0].caption, ModulePath::BaseName());
        EXPECT_EQ(watcher.Seen()[0].buttons, std::vector<int>{IDOK});
        EXPECT_EQ(watcher.Seen()[0].icon, 0u);
    }
}

// The run's files are its own: an old print where earlier versions kept theirs is neither read nor touched.
TEST_F(PrintingTest, StalePostScriptFileIsNeverConverted) {
    const std::string stale = "%!PS\n/Helvetica findfont 20 scalefont setfont 72 72 moveto (stale) show showpage\n";
    ASSERT_TRUE(TestFiles::Write(L"C:\\tmp.ps", stale));
    StandInOptions standIn = Deck(options.presentationPath);
    standIn.failPrintOut = true;
    StandInSession session(standIn);
    MessageBoxWatcher watcher;
    const size_t runs = GhostscriptRuns();
    EXPECT_FALSE(Convert(session));
    EXPECT_FALSE(TestFiles::Exists(Pdf()));
    EXPECT_EQ(GhostscriptRuns(), runs);
    EXPECT_EQ(TestFiles::Read(L"C:\\tmp.ps"), stale);
    DeleteFileW(L"C:\\tmp.ps");
}

TEST_F(PrintingTest, UserWithoutDefaultPrinterIsLeftWithout) {
    StandInOptions standIn = Deck(options.presentationPath);
    standIn.noDefaultPrinter = true;
    StandInSession session(standIn);
    ASSERT_EQ(DefaultPrinter::Get(), L"");
    SettingsListener listener(&GhostscriptRuns);
    EXPECT_TRUE(Convert(session));
    EXPECT_EQ(PageCount(Pdf()), 5);
    EXPECT_EQ(DefaultPrinter::Get(), L"");
    // Programs that kept Inkharbor as the default hear that there is none again.
    ASSERT_FALSE(listener.HeardSoFar().empty()) << "no WM_SETTINGCHANGE for \"windows\"";
    EXPECT_EQ(listener.HeardSoFar().back().printer, L"");
}

TEST_F(PrintingTest, SlowPrintStillGivesTheCompletePdf) {
    StandInOptions standIn = Deck(options.presentationPath);
    standIn.slowPrintSeconds = 8;
    StandInSession session(standIn);
    EXPECT_TRUE(Convert(session));
    EXPECT_EQ(PageCount(Pdf()), 5);
}

TEST_F(PrintingTest, UnregisteredPowerPointIsReportedAndNothingChanges) {
    ASSERT_TRUE(StandInSetup::UnregisterServer());
    MessageBoxWatcher watcher;
    DefaultPrinterWatch printers;
    const bool converted = PresentationConverter::ConvertPresentation(options);
    StandInSetup::RegisterServer(ModulePath::Folder() + L"\\..\\..\\harness\\PowerPointStandIn.exe");
    EXPECT_FALSE(converted);
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
    EXPECT_TRUE(printers.Changes().empty()) << "the default printer was switched on the way";
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, L"\u521B\u5EFAPowerPoint\u670D\u52A1\u5931\u8D25!");
}

TEST_F(PrintingTest, MissingInkharborStopsBeforePrintingWithAMessageThatNamesIt) {
    StandInSession session(Deck(options.presentationPath));
    UninstalledPrinter missing(L"Inkharbor");
    ASSERT_TRUE(missing.Remove());
    MessageBoxWatcher watcher;
    const size_t runs = GhostscriptRuns();
    EXPECT_FALSE(Convert(session));
    EXPECT_EQ(GhostscriptRuns(), runs) << "Ghostscript must not run";
    EXPECT_EQ(session.Application().Count(), 1u) << "nothing may be opened or printed";
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_NE(watcher.Seen()[0].text.find(L"Inkharbor"), std::wstring::npos) << UnixChild::Utf8(watcher.Seen()[0].text);
    EXPECT_NE(watcher.Seen()[0].text.find(L"select Quillset in Programs and Features and choose Repair, or run "
                                          L"Brenmoor.exe in " + TestFiles::Built(L"tests\\wine") +
                                          L"\\ as administrator."),
              std::wstring::npos)
        << "no repair named: " << UnixChild::Utf8(watcher.Seen()[0].text);
    EXPECT_EQ(watcher.Seen()[0].caption, ModulePath::BaseName());
}

// The spooler cannot make sense of the user's setting: that is no reason to throw it away.
TEST_F(PrintingTest, DefaultPrinterThatCannotBeReadIsNeverCleared) {
    ASSERT_TRUE(SetUserValue(kWindows, L"Device", kUserPrinter));
    StandInSession session(Deck(options.presentationPath));
    MessageBoxWatcher watcher;
    const size_t runs = GhostscriptRuns();
    EXPECT_FALSE(Convert(session));
    EXPECT_EQ(UserValue(kWindows, L"Device"), kUserPrinter);
    EXPECT_EQ(GhostscriptRuns(), runs);
    EXPECT_EQ(session.Application().Count(), 1u);
    EXPECT_EQ(watcher.Seen().size(), 1u);
}

// Programs that keep the default printer hear of its return, and hear it before Ghostscript starts.
TEST_F(PrintingTest, RestoredPrinterIsAnnouncedBeforeGhostscriptRuns) {
    StandInSession session(Deck(options.presentationPath));
    const size_t runs = GhostscriptRuns();
    SettingsListener listener(&GhostscriptRuns);
    ASSERT_TRUE(Convert(session));
    EXPECT_EQ(GhostscriptRuns(), runs + 1);
    ASSERT_FALSE(listener.HeardSoFar().empty()) << "no WM_SETTINGCHANGE for \"windows\"";
    EXPECT_EQ(listener.HeardSoFar().back().printer, kUserPrinter);
    EXPECT_EQ(listener.HeardSoFar().back().count, runs) << "announced only after Ghostscript started";
}

// Where Windows makes the printer used last the default only as the job
// leaves the spooler, the run waits for the queue and puts the user's printer
// back once more, before Ghostscript runs and without a word.
TEST_F(PrintingTest, APrinterMadeTheDefaultAsTheJobLeavesTheSpoolerIsPutBackAgain) {
    ManagingSpooler::looks = 0;
    ImportPatch spooler(L"winspool.drv", "EnumJobsW", reinterpret_cast<void*>(&ManagingSpooler::EnumJobs));
    ASSERT_TRUE(spooler.Applied());
    StandInSession session(Deck(options.presentationPath));
    MessageBoxWatcher watcher;
    const size_t runs = GhostscriptRuns();
    SettingsListener listener(&GhostscriptRuns);
    ASSERT_TRUE(Convert(session));
    EXPECT_EQ(ManagingSpooler::looks, 3);
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
    ASSERT_FALSE(listener.HeardSoFar().empty());
    EXPECT_EQ(listener.HeardSoFar().back().printer, kUserPrinter);
    EXPECT_EQ(listener.HeardSoFar().back().count, runs) << "put back only after Ghostscript started";
    EXPECT_TRUE(watcher.Seen().empty());
}

TEST_F(PrintingTest, PrinterThatCannotBePutBackIsReported) {
    StandInOptions standIn = Deck(options.presentationPath);
    standIn.slowPrintSeconds = 3;
    StandInSession session(standIn);
    UninstalledPrinter gone(kUserPrinter);
    MessageBoxWatcher watcher;
    std::atomic<bool> removed{false};
    // While the deck prints, the user's printer is uninstalled.
    std::thread remover([&] {
        const ULONGLONG deadline = GetTickCount64() + 60000;
        while (DefaultPrinter::Get() != L"Inkharbor" && GetTickCount64() < deadline) Sleep(20);
        removed = gone.Remove();
    });
    const bool converted = Convert(session);
    remover.join();
    ASSERT_TRUE(removed);
    EXPECT_TRUE(converted) << "the PDF is still made";
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_NE(watcher.Seen()[0].text.find(kUserPrinter), std::wstring::npos) << UnixChild::Utf8(watcher.Seen()[0].text);
}

// PowerPoint rejects calls while busy (a dialog of its own, an autosave): the
// run waits for it instead of failing.
TEST_F(PrintingTest, BusyPowerPointIsWaitedFor) {
    StandInOptions standIn = Deck(options.presentationPath);
    standIn.busySeconds = 3;
    StandInSession session(standIn);
    MessageBoxWatcher watcher;
    EXPECT_TRUE(Convert(session));
    EXPECT_GT(session.Host().RejectedCalls(), 0) << "PowerPoint was never busy";
    EXPECT_EQ(PageCount(Pdf()), 5);
    EXPECT_TRUE(watcher.Seen().empty());
}

// A PowerPoint busy for longer than the filter's limit fails the call, after the limit.
TEST_F(PrintingTest, RejectedCallsAreRetriedUntilTheFiltersLimitOnly) {
    StandInOptions standIn = Deck(options.presentationPath);
    standIn.busySeconds = 3600;
    StandInSession session(standIn);
    const DWORD limitMs = 1000;
    HRESULT unfiltered = S_OK, filtered = S_OK;
    ULONGLONG filteredMs = 0;
    std::vector<DWORD> decisions;
    session.RunOnWorker([&] {
        ComApartment apartment;
        ComRef<IDispatch> application, presentations;
        ASSERT_EQ(CoCreateInstance(OfficeIds::CLSID_Application, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                   application.PutVoid()),
                  S_OK);
        unfiltered = DispatchCall(application.Get()).GetDispatch(OfficeIds::kApplicationPresentations, presentations);
        RejectedCallFilter filter(limitMs);
        ASSERT_TRUE(filter.Registered());
        const ULONGLONG start = GetTickCount64();
        filtered = DispatchCall(application.Get()).GetDispatch(OfficeIds::kApplicationPresentations, presentations);
        filteredMs = GetTickCount64() - start;
        for (DWORD elapsed : {0ul, limitMs - 1, limitMs, 60000ul})
            for (DWORD type : {DWORD(SERVERCALL_RETRYLATER), DWORD(SERVERCALL_REJECTED)})
                decisions.push_back(filter.RetryRejectedCall(nullptr, elapsed, type));
    });
    EXPECT_EQ(unfiltered, RPC_E_CALL_REJECTED);
    EXPECT_EQ(filtered, RPC_E_CALL_REJECTED);
    EXPECT_GE(filteredMs, limitMs);
    EXPECT_GE(session.Host().RejectedCalls(), 3) << "retried in between";
    const DWORD retry = RejectedCallFilter::kRetryPauseMs, cancel = RejectedCallFilter::kCancel;
    EXPECT_EQ(decisions, (std::vector<DWORD>{retry, retry, retry, retry, cancel, cancel, cancel, cancel}));
}

// The lock's name can be read by anyone: a program of another account (in this
// session or another) that makes and holds it first is refused at once, with a message,
// and nothing is switched; the user is not made to wait for it.
TEST_F(PrintingTest, ALockMadeFirstByAnotherAccountIsRefusedAtOnce) {
    wchar_t* user = nullptr;
    {
        HANDLE token = nullptr;
        ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
        UniqueKernelHandle held(token);
        BYTE buffer[256];
        DWORD size = sizeof buffer;
        ASSERT_TRUE(GetTokenInformation(token, TokenUser, buffer, size, &size));
        ASSERT_TRUE(ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &user));
    }
    UniqueLocalMemory freed(user);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:S-1-5-21-1-2-3-1001D:(A;;GA;;;WD)",
                                                                     SDDL_REVISION_1, &descriptor, nullptr));
    UniqueLocalMemory freedDescriptor(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    UniqueKernelHandle squatter(
        CreateMutexW(&attributes, TRUE, (L"Global\\Quillset.DefaultPrinter." + std::wstring(user)).c_str()));
    ASSERT_TRUE(squatter);

    StandInSession session(Deck(options.presentationPath));
    MessageBoxWatcher watcher;
    const size_t runs = GhostscriptRuns();
    EXPECT_FALSE(Convert(session));
    EXPECT_EQ(GhostscriptRuns(), runs);
    EXPECT_EQ(DefaultPrinter::Get(), kUserPrinter);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_NE(watcher.Seen()[0].text.find(L"A program of another account holds the lock"), std::wstring::npos)
        << UnixChild::Utf8(watcher.Seen()[0].text);
}
