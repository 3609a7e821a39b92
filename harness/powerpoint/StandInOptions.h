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
    bool openBehind = false;        // an untitled copy opened through Presentations.Open does not become the
                                    // active one, as when another of PowerPoint's windows has the focus
    std::wstring address;           // the deck's FullName is this https:// address (AutoSave on
                                    // OneDrive or SharePoint); Presentations.Open accepts it
    int busySeconds = 0;            // calls from other apartments are rejected for this long from the
                                    // first one, as PowerPoint rejects them while busy
    bool failSave = false;          // Presentation.Save raises an automation error
    bool failCommandBars = false;   // Application.CommandBars raises an automation error
    bool failAdvise = false;        // a button's connection point refuses every sink
    bool click = false;             // once the add-ins are loaded, the first toolbar's button is clicked,
                                    // as the user would; the stand-in ends when that click returns
    bool ribbon = true;             // a PowerPoint of 2007 or later: add-ins are asked for their ribbon
                                    // markup (--no-ribbon: an older one, with command bars only)

    // Parses "--modified --fail-open --fail-printout --slow-print=N --no-default-printer
    // --no-addins --refuse-picture --open-behind --address=URL --busy=N --fail-save
    // --fail-commandbars --fail-advise --click --no-ribbon [deck]"; false on an unknown switch.
    bool Parse(int argc, wchar_t** argv);
};
