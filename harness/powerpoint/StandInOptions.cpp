#include "StandInOptions.h"

#include <cwchar>

bool StandInOptions::Parse(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--modified") modified = true;
        else if (arg == L"--fail-open") failOpen = true;
        else if (arg == L"--fail-printout") failPrintOut = true;
        else if (arg.rfind(L"--slow-print=", 0) == 0) slowPrintSeconds = std::wcstol(arg.c_str() + 13, nullptr, 10);
        else if (arg == L"--no-default-printer") noDefaultPrinter = true;
        else if (arg == L"--no-addins") loadAddins = false;
        else if (arg == L"--refuse-picture") refusePicture = true;
        else if (arg == L"--open-behind") openBehind = true;
        else if (arg.rfind(L"--address=", 0) == 0) address = arg.substr(10);
        else if (arg.rfind(L"--busy=", 0) == 0) busySeconds = std::wcstol(arg.c_str() + 7, nullptr, 10);
        else if (arg == L"--fail-save") failSave = true;
        else if (arg == L"--fail-commandbars") failCommandBars = true;
        else if (arg == L"--fail-advise") failAdvise = true;
        else if (arg == L"--click") click = true;
        else if (arg == L"--no-ribbon") ribbon = false;
        else if (arg.rfind(L"--", 0) == 0 || arg.rfind(L"/", 0) == 0) return false;
        else deck = arg;
    }
    return true;
}
