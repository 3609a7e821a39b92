#pragma once
// One Ghostscript run of a conversion: the parameter file, then the interpreter
// over it and the printed PostScript file.
#include <string>

#include "ConversionOptions.h"

class GhostscriptRun {
public:
    // Folder where the bundled gswin32c is expected: beside this module, "gs\gs8.64\bin\".
    static std::wstring InterpreterFolder();

    // Writes the parameter file and runs the interpreter that GhostscriptLocator
    // finds, waiting for it. True only when the interpreter ran and ended with
    // exit code 0. When there is no interpreter or the parameter file cannot be
    // written, says so in a message box and does not start the interpreter: an
    // old file must never apply to a new run.
    static bool Execute(const ConversionOptions& options, const std::wstring& postScriptFile,
                        const std::wstring& parameterFile);
};
