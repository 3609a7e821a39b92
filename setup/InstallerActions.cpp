// QuillsetActions.dll: the custom actions of the installer package, carried in
// the package only. No C++ exception may reach the installer.
#include <windows.h>

#include "SetupActions.h"

extern "C" UINT WINAPI RunSetup(MSIHANDLE session) {
    try {
        return SetupActions::Install(InstallerSession(session));
    } catch (...) {
        return ERROR_INSTALL_FAILURE;
    }
}

extern "C" UINT WINAPI RemoveSetup(MSIHANDLE session) {
    try {
        return SetupActions::Remove(InstallerSession(session));
    } catch (...) {
        return ERROR_SUCCESS;
    }
}
