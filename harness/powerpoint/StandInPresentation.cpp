#include "StandInPresentation.h"

#include "DeckPrinter.h"
#include "OfficeIds.h"
#include "StandInApplication.h"
#include "UniqueHandle.h"

namespace {
std::wstring FileNamePart(const std::wstring& path) {
    return path.substr(path.find_last_of(L"\\/") + 1);
}
}  // namespace

StandInPresentation::StandInPresentation(StandInApplication& application, const std::wstring& name,
                                         std::wstring sourcePath, bool untitled, std::wstring printer)
    : AutomationObject({OfficeIds::IID_Presentation}),
      m_application(application),
      m_sourcePath(std::move(sourcePath)),
      m_fullName(untitled ? L"Presentation" + std::to_wstring(application.NextUntitledNumber()) : name),
      m_printer(std::move(printer)),
      m_untitled(untitled) {
    AddProperty(L"FullName", 2003, [this](VARIANT* r) { SetString(r, m_fullName); });
    AddProperty(L"Name", 2002, [this](VARIANT* r) { SetString(r, FileNamePart(m_fullName)); });
    AddProperty(
        L"Saved", 2020, [this](VARIANT* r) { SetInt(r, m_saved ? -1 : 0); },
        [this](const AutomationArgs& a) { m_saved = a.Int(0) != 0; });
    AddMethod(L"Save", 2035, [this](const AutomationArgs&, VARIANT*) { Save(); });
    AddMethod(L"PrintOut", OfficeIds::kPresentationPrintOut,
              [this](const AutomationArgs& a, VARIANT*) { PrintOut(a); });
    AddMethod(L"Close", OfficeIds::kPresentationClose,
              [this](const AutomationArgs& a, VARIANT*) {
                  a.Expect(0);  // Close takes no argument
                  m_application.ClosePresentation(this);
              });
}

// PrintOut([From As Long], [To As Long], [PrintToFile As String], [Copies As Long],
// [Collate As MsoTriState]), checked before anything prints, as PowerPoint does.
void StandInPresentation::CheckPrintOutArguments(const AutomationArgs& args) {
    args.Expect(5);
    const long from = args.Int(0, -1);
    const long to = args.Int(1, -1);
    // -1 is the whole presentation; slides count from 1.
    if (from == 0 || from < -1) args.Refuse(0);
    if (to == 0 || to < -1 || (from > 0 && to > 0 && to < from)) args.Refuse(1);
    args.String(2);
    if (args.Int(3, 1) < 1) args.Refuse(3);
    args.TriState(4, -1);
}

void StandInPresentation::PrintOut(const AutomationArgs& args) {
    CheckPrintOutArguments(args);
    if (m_application.Options().failPrintOut)
        throw AutomationError{E_FAIL, L"Presentation.PrintOut : An error occurred while printing."};
    const std::wstring file = args.String(2);
    if (file.empty()) throw AutomationError{E_INVALIDARG, L"Presentation.PrintOut : Invalid request."};
    ++m_printCount;
    DeckPrinter::Print(m_sourcePath, m_printer, file, m_application.Options().slowPrintSeconds);
}

void StandInPresentation::Save() {
    if (m_application.Options().failSave)
        throw AutomationError{E_FAIL, L"Presentation.Save : PowerPoint could not save the file."};
    if (m_untitled) throw AutomationError{E_FAIL, L"Presentation.Save : The presentation has no file name."};
    // The stand-in cannot edit decks: saving writes the file's time, which tests observe.
    UniqueFileHandle file(CreateFileW(m_sourcePath.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    if (!file || !SetFileTime(file.Get(), nullptr, nullptr, &now))
        throw AutomationError{E_FAIL, L"Presentation.Save : PowerPoint could not save the file."};
    m_saved = true;
    ++m_saveCount;
    m_application.Changed();
}
