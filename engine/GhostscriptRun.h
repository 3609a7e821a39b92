#pragma once
// One Ghostscript run of a conversion: the parameter file, then the interpreter
// over it and the printed PostScript file.
#include <string>

#include "ConversionOptions.h"
#include "GhostscriptInterpreter.h"

class GhostscriptRun {
public:
    // Why a password is refused: one character beyond printable ASCII.
    static const wchar_t* const kPasswordRefusal;
    // Whether a password can reach the ANSI interpreter unchanged.
    static bool IsPlainPassword(const std::wstring& password);

    // Folder where the bundled gswin32c is expected: beside this module, "gs\gs8.64\bin\".
    static std::wstring InterpreterFolder();

    // Writes the parameter file (a new file) and runs the interpreter that
    // GhostscriptLocator finds in its own folder, waiting for it; the PDF goes
    // to `outputFile`. True only when the interpreter ran and ended with exit
    // code 0. Says why in a message box and starts nothing when there is no
    // interpreter, when the parameter file cannot be written (an old file must
    // never apply to a new run), or when a path or password cannot reach an
    // ANSI interpreter as it stands.
    static bool Execute(const ConversionOptions& options, const std::wstring& postScriptFile,
                        const std::wstring& parameterFile, const std::wstring& outputFile);
    // The same with the interpreter the caller already found.
    static bool Execute(const ConversionOptions& options, const GhostscriptInterpreter& interpreter,
                        const std::wstring& postScriptFile, const std::wstring& parameterFile,
                        const std::wstring& outputFile);

private:
    static bool PasswordsArePlain(const ConversionOptions& options);
    static bool Run(const ConversionOptions& options, const GhostscriptInterpreter& interpreter,
                    const std::wstring& postScriptFile, const std::wstring& parameterFile,
                    const std::wstring& outputFile);
    // The ASCII form of `path`; empty, and said so, when it has none.
    static std::wstring Reachable(const std::wstring& path, bool ansi);
};
