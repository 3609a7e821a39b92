#pragma once
// One conversion on the worker thread: the replace prompt, the engine, and the
// judgement whether this run made the PDF. Every message box it shows belongs
// to the thread's AppMessageBox owner.
#include <string>

#include "ConversionOptions.h"
#include "RunCancel.h"

class ConversionRun {
public:
    enum class Outcome { Produced, Declined, Cancelled, Failed };

    explicit ConversionRun(const ConversionOptions& options, const RunCancel& cancel = RunCancel())
        : m_options(options), m_cancel(cancel) {}

    // Produced only when the engine succeeded: it moved a PDF made by this run
    // to the output path, replacing a file there only after the user agreed. A
    // failure has been reported; a run the user cancelled is not one.
    Outcome Execute() const;
    // The produced file's name, without folder.
    std::wstring OutputFileName() const;
    // The application message box naming the PDF beside the presentation.
    void ReportFailure() const;

private:
    std::wstring OutputPath() const;
    bool ConfirmReplace(const std::wstring& outputPath) const;

    const ConversionOptions& m_options;
    RunCancel m_cancel;
};
