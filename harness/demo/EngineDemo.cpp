// Converts a PostScript file to PDF through the conversion engine, with options
// set here, and prints the PDF's path. Usage: EngineDemo <file.ps> <output folder>
#include <windows.h>

#include <cstdio>

#include "GhostscriptRun.h"
#include "OutputNaming.h"
#include "ParameterFile.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fwprintf(stderr, L"usage: EngineDemo <file.ps> <output folder>\n");
        return 2;
    }
    ConversionOptions options;
    options.presentationPath = argv[1];
    options.outputFolder = argv[2];
    options.title = L"Quarterly review";
    options.author = L"Quillset demo";
    options.subject = L"Engine demo";
    options.keywords = L"demo, engine";
    options.imageCompression = L"JPEG";
    options.jpegQuality = L"Medium";
    options.pdfVersion = L"V1.4(Acrobat 4.xx)";

    if (!GhostscriptRun::Execute(options, options.presentationPath, ParameterFile::kPath)) {
        fwprintf(stderr, L"conversion failed\n");
        return 1;
    }
    wprintf(L"%ls\n", OutputNaming::OutputPath(options.outputFolder, options.presentationPath).c_str());
    return 0;
}
