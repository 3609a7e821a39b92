#include "GhostscriptRun.h"

#include <windows.h>

#include "AppMessageBox.h"
#include "AsciiPath.h"
#include "DistillerParameters.h"
#include "GhostscriptCommandLine.h"
#include "GhostscriptLocator.h"
#include "ParameterFile.h"
#include "ProcessRunner.h"

const wchar_t* const GhostscriptRun::kPasswordRefusal =
    L"Passwords may hold only ASCII letters, digits, blanks and punctuation!";

bool GhostscriptRun::IsPlainPassword(const std::wstring& password) {
    return GhostscriptCommandLine::IsPlainAscii(password);
}

std::wstring GhostscriptRun::InterpreterFolder() {
    return GhostscriptLocator::BundledFolder();
}

bool GhostscriptRun::Execute(const ConversionOptions& options, const std::wstring& postScriptFile,
                             const std::wstring& parameterFile, const std::wstring& outputFile) {
    GhostscriptInterpreter interpreter;
    if (!GhostscriptLocator::Find(interpreter)) {
        AppMessageBox::Show(GhostscriptLocator::NotFoundMessage());
        return false;
    }
    return Execute(options, interpreter, postScriptFile, parameterFile, outputFile);
}

bool GhostscriptRun::Execute(const ConversionOptions& options, const GhostscriptInterpreter& interpreter,
                             const std::wstring& postScriptFile, const std::wstring& parameterFile,
                             const std::wstring& outputFile) {
    if (!PasswordsArePlain(options)) return false;
    if (!ParameterFile::Write(parameterFile, DistillerParameters::Text(options))) {
        AppMessageBox::Show(L"Cannot write the parameter file " + parameterFile + L"!");
        return false;
    }
    const std::string passwords = GhostscriptCommandLine::PasswordArguments(options);
    const std::wstring argumentFile = GhostscriptCommandLine::ArgumentFile(parameterFile);
    if (!passwords.empty() && !ParameterFile::Write(argumentFile, std::wstring(passwords.begin(), passwords.end()))) {
        AppMessageBox::Show(L"Cannot write the parameter file " + argumentFile + L"!");
        return false;
    }
    const bool ran = Run(options, interpreter, postScriptFile, parameterFile, outputFile);
    // The passwords stay no longer than Ghostscript needs them.
    if (!passwords.empty()) DeleteFileW(argumentFile.c_str());
    return ran;
}

bool GhostscriptRun::Run(const ConversionOptions& options, const GhostscriptInterpreter& interpreter,
                         const std::wstring& postScriptFile, const std::wstring& parameterFile,
                         const std::wstring& outputFile) {
    // 8.64 is an ANSI program; from 9 on Ghostscript takes a Unicode command line.
    const bool ansi = !interpreter.version.AtLeast(9, 0);
    const std::wstring files[] = {Reachable(interpreter.folder, ansi), Reachable(postScriptFile, ansi),
                                  Reachable(parameterFile, ansi), Reachable(outputFile, ansi)};
    for (const std::wstring& file : files)
        if (file.empty()) return false;
    GhostscriptInterpreter ascii = interpreter;
    ascii.folder = files[0];
    const std::wstring commandLine = GhostscriptCommandLine::Build(options, ascii, files[1], files[2], files[3]);
    // Its scratch files stay in the run's own folder, which goes with the run.
    const std::wstring tempFolder = files[2].substr(0, files[2].find_last_of(L'\\'));
    DWORD exitCode = STILL_ACTIVE;
    // Ghostscript 8 reads start-up files from its current folder before -dSAFER applies.
    return ProcessRunner::RunProcess(commandLine, true, &exitCode, interpreter.folder, tempFolder) != 0 &&
           exitCode == 0;
}

// The dialog refuses such passwords; an ANSI program would get them changed.
bool GhostscriptRun::PasswordsArePlain(const ConversionOptions& options) {
    const bool ownerUsed = options.securityEnabled && options.ownerPasswordEnabled;
    const bool userUsed = options.securityEnabled && options.userPasswordEnabled;
    if ((!ownerUsed || IsPlainPassword(options.ownerPassword)) && (!userUsed || IsPlainPassword(options.userPassword)))
        return true;
    AppMessageBox::Show(kPasswordRefusal);
    return false;
}

std::wstring GhostscriptRun::Reachable(const std::wstring& path, bool ansi) {
    if (!ansi) return path;
    const std::wstring ascii = AsciiPath::For(path);
    if (ascii.empty())
        AppMessageBox::Show(L"Ghostscript cannot be given the path " + path +
                            L": it holds characters beyond ASCII and has no short (8.3) name.");
    return ascii;
}
