// Brenmoor.exe: run once by the installation. No window, no message.
#include <windows.h>

#include "SetupProgram.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        return SetupProgram::Run();
    } catch (...) {
        return 255;
    }
}
