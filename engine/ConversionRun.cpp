#include "ConversionRun.h"

#include <windows.h>

#include "AppMessageBox.h"
#include "GhostscriptLocator.h"
#include "OutputFile.h"
#include "OutputNaming.h"
#include "PresentationConverter.h"

ConversionRun::Outcome ConversionRun::Execute() const {
    // Without an interpreter nothing is asked or printed, and its message is
    // the run's only report.
    GhostscriptInterpreter interpreter;
    if (!GhostscriptLocator::Find(interpreter)) {
        AppMessageBox::Show(GhostscriptLocator::NotFoundMessage());
        return Outcome::Failed;
    }
    const std::wstring outputPath = OutputPath();
    const bool exists = OutputFile::Exists(outputPath);
    if (exists && !ConfirmReplace(outputPath)) return Outcome::Declined;
    if (PresentationConverter::ConvertPresentation(m_options, exists, m_cancel)) return Outcome::Produced;
    if (m_cancel.GaveUp()) return Outcome::Cancelled;
    ReportFailure();
    return Outcome::Failed;
}

std::wstring ConversionRun::OutputFileName() const {
    return OutputNaming::OutputFileName(m_options.presentationPath);
}

std::wstring ConversionRun::OutputPath() const {
    return OutputNaming::OutputPath(m_options.outputFolder, m_options.presentationPath);
}

bool ConversionRun::ConfirmReplace(const std::wstring& outputPath) const {
    const std::wstring text = outputPath + L" already exists. Do you want to replace it?";
    return MessageBoxW(AppMessageBox::Owner(), text.c_str(), L"Vellumark 5.0", MB_YESNO) == IDYES;
}

void ConversionRun::ReportFailure() const {
    AppMessageBox::Show(OutputNaming::FailureReportPath(m_options.presentationPath) + L" convert failed!");
}
