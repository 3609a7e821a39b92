#pragma once
// The Ghostscript command line of one conversion. Every user text goes through
// QuoteArgument, so none of it can end an argument or add a switch. The
// passwords are not on it (process auditing records command lines): they are in
// an argument file beside the parameter file, which the line names with "@".
#include "ConversionOptions.h"
#include "GhostscriptInterpreter.h"
#include <string>

class GhostscriptCommandLine {
public:
    // For the bundled 8.64's gswin32c; interpreterFolder ends with a backslash.
    // The parameter file runs before the pages, so that its distiller
    // parameters apply to them, and again after them, so that its document
    // information wins over the title that the printer driver puts into its
    // DSC comments. Ghostscript writes the PDF to `outputFile`, never straight
    // to the user's output path (a failed run must not truncate a file there).
    static std::wstring Build(const ConversionOptions& options, const std::wstring& interpreterFolder,
                              const std::wstring& postScriptFile, const std::wstring& parameterFile,
                              const std::wstring& outputFile);
    // The same for any release: before 9.50 the line above, from 9.50 on
    // -dPassThroughJPEGImages=false in place of "-c .setpdfwrite -f".
    static std::wstring Build(const ConversionOptions& options, const GhostscriptInterpreter& interpreter,
                              const std::wstring& postScriptFile, const std::wstring& parameterFile,
                              const std::wstring& outputFile);

    // The argument file beside `parameterFile` that holds the passwords.
    static std::wstring ArgumentFile(const std::wstring& parameterFile);
    // Its text: each password used as a PostScript string of octal escapes, so
    // that no blank, quote or backslash of it means anything to the file's reader.
    // Empty when no password is used.
    static std::string PasswordArguments(const ConversionOptions& options);

    // -dPermissions for encryptionLevel 0 or 1: a ticked box allows its action,
    // an unticked one withholds it. -4 (nothing withheld) for other levels.
    static int PermissionValue(const ConversionOptions& options);

    // One argument in double quotes, escaped by the C runtime's argv rules.
    static std::wstring QuoteArgument(const std::wstring& argument);

    // Only printable ASCII (blank to tilde): what an ANSI program such as
    // gswin32c 8.64 receives unchanged whatever the code page.
    static bool IsPlainAscii(const std::wstring& text);

private:
    static bool Encrypts(const ConversionOptions& options);
    static std::wstring CompatibilityPiece(const ConversionOptions& options);
    static std::wstring PasswordPieces(const ConversionOptions& options, const std::wstring& parameterFile);
    static std::string OctalString(const std::wstring& text);
    static std::wstring EncryptionPieces(const ConversionOptions& options);
    static std::wstring OutputFilePiece(const std::wstring& outputFile);
    static std::wstring ReleasePiece(const GhostscriptVersion& version);
    static std::wstring EscapePercent(const std::wstring& path);
};
