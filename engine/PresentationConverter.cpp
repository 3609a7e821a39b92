#include "PresentationConverter.h"

#include <windows.h>

#include "AppMessageBox.h"
#include "ComApartment.h"
#include "ComRef.h"
#include "DispatchCall.h"
#include "GhostscriptLocator.h"
#include "GhostscriptRun.h"
#include "OutputFile.h"
#include "OutputNaming.h"
#include "ParameterFile.h"
#include "PrintedFileWait.h"
#include "PrinterSwitch.h"
#include "PrivateFolder.h"
#include "RejectedCallFilter.h"

const wchar_t* const PresentationConverter::kPostScriptName = L"tmp.ps";
const wchar_t* const PresentationConverter::kPdfName = L"out.pdf";
const wchar_t* const PresentationConverter::kPostScriptPrinter = L"Inkharbor";

namespace {

// PowerPoint's dispatch ids.
const DISPID kVisible = 2030;
const DISPID kPresentations = 2001;
const DISPID kOpen = 2004;
const DISPID kPrintOut = 2034;
const DISPID kClose = 2039;
const LONG kTrue = -1;  // msoTrue
// A spooler may take its time; a deck that has not printed in ten minutes will not.
const unsigned long kPrintTimeoutMs = 10 * 60 * 1000;
const unsigned long kPrintLookMs = 50;
const unsigned long kPrintSettleMs = 500;
// PowerPoint rejects calls while busy (a dialog of its own, an autosave).
const DWORD kBusyPowerPointLimitMs = 60 * 1000;

ComRef<IDispatch> CreatePowerPoint() {
    CLSID clsid;
    ComRef<IDispatch> application;
    if (SUCCEEDED(CLSIDFromProgID(L"PowerPoint.Application", &clsid)))
        RejectedCallFilter::Retry(
            [&] { return CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, application.PutVoid()); });
    return application;
}

// The copy is the presentation Open returned: the active one may be the user's
// own deck, when another of PowerPoint's windows keeps the focus. Returns what
// went wrong, to be shown once the default printer is back; empty on success.
std::wstring OpenCopy(IDispatch* application, const std::wstring& path, ComRef<IDispatch>& copy) {
    ComRef<IDispatch> presentations;
    UniqueVariant opened;
    auto fileName = UniqueVariant::String(path);
    auto readOnly = UniqueVariant::Int(kTrue);
    auto untitled = UniqueVariant::Int(kTrue);
    auto withWindow = UniqueVariant::Int(kTrue);
    if (FAILED(DispatchCall(application).GetDispatch(kPresentations, presentations)) ||
        FAILED(DispatchCall(presentations.Get())
                   .Method(kOpen, {fileName.Get(), readOnly.Get(), untitled.Get(), withWindow.Get()},
                           opened.Put())) ||
        FAILED(VariantChangeType(opened.Get(), opened.Get(), 0, VT_DISPATCH)) || !opened.Value().pdispVal)
        return L"PowerPoint could not open the presentation " + path + L".";
    copy = ComRef<IDispatch>(opened.Value().pdispVal);
    return {};
}

// As OpenCopy, what went wrong.
std::wstring PrintCopy(IDispatch* copy, const std::wstring& postScriptFile) {
    auto from = UniqueVariant::Int(-1);
    auto to = UniqueVariant::Int(-1);
    auto file = UniqueVariant::String(postScriptFile);
    auto copies = UniqueVariant::Int(1);
    auto collate = UniqueVariant::Int(kTrue);
    if (FAILED(DispatchCall(copy).Method(kPrintOut, {from.Get(), to.Get(), file.Get(), copies.Get(), collate.Get()})))
        return L"PowerPoint could not print the presentation.";
    if (!PrintedFileWait::Wait(postScriptFile, kPrintTimeoutMs, kPrintLookMs, kPrintSettleMs))
        return L"The printed file " + postScriptFile + L" was not complete in time.";
    return {};
}

// The PDF becomes the user's only once it is complete.
bool Deliver(const std::wstring& made, const ConversionOptions& options, bool replaceExisting) {
    const std::wstring path = OutputNaming::OutputPath(options.outputFolder, options.presentationPath);
    std::wstring where;
    if (OutputFile::Deliver(made, path, replaceExisting, &where)) return true;
    if (!where.empty()) AppMessageBox::Show(where);
    else if (OutputFile::IsPdf(made)) AppMessageBox::Show(L"Cannot write the PDF file " + path + L"!");
    return false;
}

// The copy is printed while the user's default printer is switched; it is put
// back as soon as the printed file is complete, before any message and before
// Ghostscript runs.
std::wstring PrintWhileSwitched(IDispatch* application, const ConversionOptions& options, const RunCancel& cancel,
                                const std::wstring& postScript, ComRef<IDispatch>& copy, bool& switched) {
    PrinterSwitch printer(PresentationConverter::kPostScriptPrinter, cancel);
    switched = printer.Switched();
    if (!switched) return {};
    std::wstring failure = OpenCopy(application, options.presentationPath, copy);
    if (failure.empty()) failure = PrintCopy(copy.Get(), postScript);
    printer.Restore();
    return failure;
}

bool PrintAndDistill(IDispatch* application, const ConversionOptions& options, const RunCancel& cancel,
                     const GhostscriptInterpreter& interpreter, const PrivateFolder& folder, bool replaceExisting) {
    const std::wstring postScript = folder.Path() + PresentationConverter::kPostScriptName;
    const std::wstring pdf = folder.Path() + PresentationConverter::kPdfName;
    ComRef<IDispatch> copy;
    bool switched = false;
    const std::wstring failure = PrintWhileSwitched(application, options, cancel, postScript, copy, switched);
    if (!switched) return false;
    if (!failure.empty()) AppMessageBox::Show(failure);
    const bool converted =
        failure.empty() &&
        GhostscriptRun::Execute(options, interpreter, postScript, folder.Path() + ParameterFile::kName, pdf) &&
        Deliver(pdf, options, replaceExisting);
    if (copy) DispatchCall(copy.Get()).Method(kClose);
    return converted;
}

}  // namespace

bool PresentationConverter::ConvertPresentation(const ConversionOptions& options, bool replaceExisting,
                                                const RunCancel& cancel) {
    try {
        // Before PowerPoint prints and the default printer changes: without an
        // interpreter the print would only be thrown away.
        GhostscriptInterpreter interpreter;
        if (!GhostscriptLocator::Find(interpreter)) {
            AppMessageBox::Show(GhostscriptLocator::NotFoundMessage());
            return false;
        }
        ComApartment apartment;
        if (apartment.Failed()) AppMessageBox::Show(L"Failed to call Coinitialize()");
        RejectedCallFilter busyPowerPoint(kBusyPowerPointLimitMs);
        ComRef<IDispatch> application = CreatePowerPoint();
        if (!application) {
            AppMessageBox::Show(L"\u521B\u5EFAPowerPoint\u670D\u52A1\u5931\u8D25!");
            return false;
        }
        auto visible = UniqueVariant::Int(1);
        DispatchCall(application.Get()).Put(kVisible, visible.Get());
        // Declared before anything that may hold its files, so that it goes last.
        PrivateFolder folder;
        if (!folder.Created()) {
            AppMessageBox::Show(L"Cannot create a folder for the intermediate files in " + PrivateFolder::Parent() +
                                L"!");
            return false;
        }
        return PrintAndDistill(application.Get(), options, cancel, interpreter, folder, replaceExisting);
    } catch (...) {
        AppMessageBox::Show(L"The conversion failed unexpectedly.");
        return false;
    }
}
