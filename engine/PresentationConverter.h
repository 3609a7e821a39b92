#pragma once
// Turns a saved presentation into a PDF: PowerPoint prints an untitled copy to
// PostScript through the printer "Inkharbor", then Ghostscript makes the PDF.
#include <string>

#include "ConversionOptions.h"
#include "RunCancel.h"

class PresentationConverter {
public:
    // Names of the intermediate files in the run's private folder.
    static const wchar_t* const kPostScriptName;  // "tmp.ps"
    static const wchar_t* const kPdfName;
    static const wchar_t* const kPostScriptPrinter;

    // Runs on a worker thread, never the thread PowerPoint serves calls on.
    // True only when PowerPoint printed, the parameter file was written,
    // Ghostscript ran and ended with exit code 0, and this run moved the PDF it
    // made to the output path; a file already there is replaced only with
    // `replaceExisting`, and a failed run leaves it untouched. Every failure has
    // been shown to the user, except a failing Ghostscript (the caller reports
    // the run); the user's default printer is as it was before, and the
    // intermediate files are gone. `cancel` may end the wait for another run
    // of the user's that holds the printer; nothing is then shown.
    static bool ConvertPresentation(const ConversionOptions& options, bool replaceExisting = false,
                                    const RunCancel& cancel = RunCancel());
};
