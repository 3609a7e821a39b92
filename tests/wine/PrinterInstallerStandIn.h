#pragma once
// Windows' printer installer as the printer batch files meet it, for one test:
// the system's rundll32.exe runs the printui stand-in (harness/printui) in place
// of the prefix's printui.dll (Wine's does nothing), which notes its calls in a
// folder of this object's (QUILLSET_PRINTUI, inherited by the programs the test
// starts; Wine sets %SystemRoot% anew in every process, so no other System32 can
// be put before the batch files). The spooler knows the drivers of the given
// models (copies of the test bed's PostScript driver), and no printer
// "Inkharbor" until a batch file installs one. Everything is put back when it
// goes: printui.dll, the test bed's "Inkharbor", the drivers. Hold the CTest
// lock "inkharbor".
#include <string>
#include <vector>

#include "PrinterAway.h"

class PrinterInstallerStandIn {
public:
    explicit PrinterInstallerStandIn(const std::vector<std::wstring>& models);
    ~PrinterInstallerStandIn();
    PrinterInstallerStandIn(const PrinterInstallerStandIn&) = delete;
    PrinterInstallerStandIn& operator=(const PrinterInstallerStandIn&) = delete;

    bool Ready() const { return m_ready; }
    // An /if for this model never ends.
    void Hang(const std::wstring& model);
    // Each printui call so far: its switches and its outcome, one per line.
    std::string Calls() const;
    // The path of the rundll32.exe the batch files run.
    std::wstring Rundll32() const { return m_system32 + L"rundll32.exe"; }
    // The folder of its notes.
    const std::wstring& Folder() const { return m_folder; }
    // The driver of the printer "Inkharbor" now, or "<none>".
    static std::wstring InkharborDriver();

private:
    bool AddDriver(const std::wstring& model);

    bool PutInPlace();

    std::wstring m_system32;
    std::wstring m_folder;
    std::vector<std::wstring> m_models;
    PrinterAway m_away;
    bool m_ready = false;
};
