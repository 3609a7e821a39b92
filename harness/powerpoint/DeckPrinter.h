#pragma once
// Prints a deck to a file the way the printer it was opened on would: the
// PostScript printer "Inkharbor" writes one PostScript page per slide (rendered
// by the Unix script render-deck beside this module); any other printer writes
// its own printer language, which is no PostScript.
#include <string>

class DeckPrinter {
public:
    static const wchar_t* const kPostScriptPrinter;

    // Raises AutomationError when the deck cannot be rendered. With slowSeconds
    // above 0 it returns at once and writes the file late and in pieces, holding
    // it open without sharing meanwhile, as a spooler does.
    static void Print(const std::wstring& deck, const std::wstring& printer, const std::wstring& outputFile,
                      int slowSeconds);

private:
    static std::string Render(const std::wstring& deck, const std::wstring& printer);
    static void WriteNow(const std::wstring& file, const std::string& bytes);
    static void WriteSlowly(const std::wstring& file, const std::string& bytes, int seconds);
};
