// PowerPointStandIn.exe: plays PowerPoint's automation surface for tests and demos.
//   PowerPointStandIn /RegServer | /UnregServer     (un)register as "PowerPoint.Application"
//   PowerPointStandIn /InstallPrinters PPD           install "Inkharbor" and the user's printer
//   PowerPointStandIn [options] [deck]               run (options: see StandInOptions)
//   PowerPointStandIn --click [options] [deck]       the add-in's button clicked, then ends
#include <windows.h>
#include <objbase.h>

#include <string>

#include "ModulePath.h"
#include "StandInButton.h"
#include "StandInCommandBar.h"
#include "StandInCommandBars.h"
#include "StandInHost.h"
#include "StandInSetup.h"

namespace {

int Setup(int argc, wchar_t** argv) {
    const std::wstring command = argv[1];
    if (_wcsicmp(command.c_str(), L"/RegServer") == 0) return StandInSetup::RegisterServer(ModulePath::File()) ? 0 : 1;
    if (_wcsicmp(command.c_str(), L"/UnregServer") == 0) return StandInSetup::UnregisterServer() ? 0 : 1;
    if (argc == 3) return StandInSetup::InstallPrinters(argv[2]) ? 0 : 1;
    return 2;
}

// The add-in's dialog runs modally in here, on this (PowerPoint's) thread.
bool ClickFirstButton(StandInHost& host) {
    auto& bars = host.Application().CommandBars();
    if (bars.Count() == 0 || bars.At(0).Count() == 0) return false;
    bars.At(0).At(0).Click();
    return true;
}

void Pump() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int Run(const StandInOptions& options) {
    if (FAILED(OleInitialize(nullptr))) return 1;
    int result = 0;
    {
        StandInHost host(options);
        if (options.click)
            result = ClickFirstButton(host) ? 0 : 3;
        else
            Pump();
    }
    OleUninitialize();
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && (_wcsicmp(argv[1], L"/RegServer") == 0 || _wcsicmp(argv[1], L"/UnregServer") == 0 ||
                      _wcsicmp(argv[1], L"/InstallPrinters") == 0))
        return Setup(argc, argv);
    StandInOptions options;
    // COM starts a local server with -Embedding: nothing to open then.
    if (argc >= 2 && (_wcsicmp(argv[1], L"-Embedding") == 0 || _wcsicmp(argv[1], L"/Embedding") == 0))
        return Run(options);
    if (!options.Parse(argc, argv)) return 2;
    return Run(options);
}
