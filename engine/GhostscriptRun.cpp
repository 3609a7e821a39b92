#include "GhostscriptRun.h"

#include "AppMessageBox.h"
#include "DistillerParameters.h"
#include "GhostscriptCommandLine.h"
#include "GhostscriptLocator.h"
#include "ParameterFile.h"
#include "ProcessRunner.h"

std::wstring GhostscriptRun::InterpreterFolder() {
    return GhostscriptLocator::BundledFolder();
}

bool GhostscriptRun::Execute(const ConversionOptions& options, const std::wstring& postScriptFile,
                             const std::wstring& parameterFile) {
    GhostscriptInterpreter interpreter;
    if (!GhostscriptLocator::Find(interpreter)) {
        AppMessageBox::Show(GhostscriptLocator::NotFoundMessage());
        return false;
    }
    if (!ParameterFile::Write(parameterFile, DistillerParameters::Text(options))) {
        AppMessageBox::Show(L"Cannot write the parameter file " + parameterFile + L"!");
        return false;
    }
    const std::wstring commandLine =
        GhostscriptCommandLine::Build(options, interpreter, postScriptFile, parameterFile);
    DWORD exitCode = STILL_ACTIVE;
    return ProcessRunner::RunProcess(commandLine, true, &exitCode) != 0 && exitCode == 0;
}
