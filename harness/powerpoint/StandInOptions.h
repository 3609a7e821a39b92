#pragma once
// How the PowerPoint stand-in behaves: the deck it opens and the faults it plays.
#include <string>

struct StandInOptions {
    std::wstring deck;              // opened at start as the active presentation
    bool modified = false;          // that presentation has unsaved changes
    bool failOpen = false;          // Presentations.Open raises an automation error
    bool failPrintOut = false;      // PrintOut raises an automation error
    int slowPrintSeconds = 0;       // PrintOut returns at once; the file is written late, slowly
    bool noDefaultPrinter = false;  // the user has no default printer
    bool loadAddins = true;         // load the registered add-ins at start
    bool refusePicture = false;     // buttons refuse a Picture, as older Office versions do
    bool failSave = false;          // Presentation.Save raises an automation error
    bool failCommandBars = false;   // Application.CommandBars raises an automation error
    bool failAdvise = false;        // a button's connection point refuses every sink

    // Parses "--modified --fail-open --fail-printout --slow-print=N --no-default-printer
    // --no-addins --refuse-picture --fail-save --fail-commandbars --fail-advise [deck]";
    // false on an unknown switch.
    bool Parse(int argc, wchar_t** argv);
};
