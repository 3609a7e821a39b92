#include "DeckPrinter.h"

#include <windows.h>

#include <thread>

#include "AutomationObject.h"
#include "ModulePath.h"
#include "UniqueHandle.h"
#include "UnixChild.h"

const wchar_t* const DeckPrinter::kPostScriptPrinter = L"Inkharbor";

namespace {
// What a PCL laser driver sends: no PostScript header anywhere.
const char kPrinterLanguage[] = "\x1B%-12345X@PJL JOB\r\n@PJL ENTER LANGUAGE=PCL\r\n\x1B" "E\x1B&l0O(page)\x0C\x1B%-12345X";
}

std::string DeckPrinter::Render(const std::wstring& deck, const std::wstring& printer) {
    if (printer != kPostScriptPrinter) return kPrinterLanguage;
    const std::wstring request = UnixChild::TempFile(L"prn");
    const std::wstring postScript = request + L".ps";
    UnixChild::WriteFile(request, UnixChild::UnixPath(deck) + "\n" + UnixChild::UnixPath(postScript) + "\n");
    const int status = UnixChild::Run(ModulePath::Folder() + L"\\render-deck", request);
    std::string bytes = UnixChild::ReadFile(postScript);
    for (const wchar_t* suffix : {L"", L".ps", L".log"}) DeleteFileW((request + suffix).c_str());
    if (status != 0 || bytes.empty())
        throw AutomationError{E_FAIL, L"PowerPoint could not print the presentation " + deck + L"."};
    return bytes;
}

void DeckPrinter::WriteNow(const std::wstring& file, const std::string& bytes) {
    UniqueFileHandle handle(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!handle || !WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw AutomationError{E_FAIL, L"PowerPoint could not write the file " + file + L"."};
}

void DeckPrinter::WriteSlowly(const std::wstring& file, const std::string& bytes, int seconds) {
    // The spooler starts late, then holds the file open while it trickles in.
    Sleep(1000);
    UniqueFileHandle handle(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return;
    const int pieces = (seconds - 1) * 4 > 0 ? (seconds - 1) * 4 : 1;
    const size_t piece = bytes.size() / pieces + 1;
    for (size_t offset = 0; offset < bytes.size(); offset += piece) {
        DWORD written = 0;
        const size_t size = bytes.size() - offset < piece ? bytes.size() - offset : piece;
        WriteFile(handle.Get(), bytes.data() + offset, static_cast<DWORD>(size), &written, nullptr);
        Sleep(250);
    }
}

void DeckPrinter::Print(const std::wstring& deck, const std::wstring& printer, const std::wstring& outputFile,
                        int slowSeconds) {
    if (slowSeconds <= 0) {
        WriteNow(outputFile, Render(deck, printer));
        return;
    }
    std::thread([=] {
        try {
            WriteSlowly(outputFile, Render(deck, printer), slowSeconds);
        } catch (...) {
        }
    }).detach();
}
