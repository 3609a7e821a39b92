#pragma once
// One conversion on the worker thread: the replace prompt, the engine, and the
// judgement whether this run made the PDF. Every message box it shows has no
// owner window.
#include <string>

#include "ConversionOptions.h"

class ConversionRun {
public:
    enum class Outcome { Produced, Declined, Failed };

    explicit ConversionRun(const ConversionOptions& options) : m_options(options) {}

    // Produced only when the engine succeeded and the output path holds a PDF
    // written by this run; a failure has been reported.
    Outcome Execute() const;
    // The produced file's name, without folder.
    std::wstring OutputFileName() const;
    // The application message box naming the PDF beside the presentation.
    void ReportFailure() const;

private:
    std::wstring OutputPath() const;
    bool ConfirmReplace(const std::wstring& outputPath) const;
    bool Convert(const std::wstring& outputPath) const;

    const ConversionOptions& m_options;
};
