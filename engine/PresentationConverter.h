#pragma once
// Turns a saved presentation into a PDF: PowerPoint prints an untitled copy to
// PostScript through the printer "Inkharbor", then Ghostscript makes the PDF.
#include <string>

#include "ConversionOptions.h"

class PresentationConverter {
public:
    static const wchar_t* const kPostScriptFile;  // "C:\tmp.ps"
    static const wchar_t* const kPostScriptPrinter;

    // Runs on a worker thread, never the thread PowerPoint serves calls on.
    // True only when PowerPoint printed, the parameter file was written, and
    // Ghostscript ran and ended with exit code 0. Every failure has been shown
    // to the user; the user's default printer is as it was before.
    static bool ConvertPresentation(const ConversionOptions& options);
};
