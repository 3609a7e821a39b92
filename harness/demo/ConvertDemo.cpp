// Converts a saved deck to PDF the way the add-in does: the PowerPoint stand-in
// runs on this thread, the conversion on a worker thread.
// Usage: ConvertDemo <deck> <output folder>; prints the PDF's path.
#include <windows.h>
#include <ole2.h>

#include <cstdio>

#include "MessagePump.h"
#include "OutputNaming.h"
#include "PresentationConverter.h"
#include "StandInHost.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fwprintf(stderr, L"usage: ConvertDemo <deck> <output folder>\n");
        return 2;
    }
    ConversionOptions options;
    options.presentationPath = argv[1];
    options.outputFolder = argv[2];
    options.title = L"Quarterly review";
    options.author = L"Quillset demo";
    options.imageCompression = L"JPEG";
    options.jpegQuality = L"Medium";
    options.pdfVersion = L"V1.4(Acrobat 4.xx)";

    if (FAILED(OleInitialize(nullptr))) return 1;
    bool converted = false;
    {
        StandInOptions standIn;
        standIn.deck = options.presentationPath;
        standIn.loadAddins = false;
        StandInHost host(standIn);
        MessagePump::RunOnWorker([&] { converted = PresentationConverter::ConvertPresentation(options); });
    }
    OleUninitialize();
    if (!converted) {
        fwprintf(stderr, L"conversion failed\n");
        return 1;
    }
    wprintf(L"%ls\n", OutputNaming::OutputPath(options.outputFolder, options.presentationPath).c_str());
    return 0;
}
