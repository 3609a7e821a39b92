#pragma once
// One open presentation. It keeps the printer that was the default printer
// when it was opened, as PowerPoint does. `name` is what it was opened by (a
// path, or an address), `sourcePath` the file on disk behind it.
#include <functional>
#include <string>

#include "AutomationObject.h"

class StandInApplication;

class StandInPresentation : public AutomationObject {
public:
    StandInPresentation(StandInApplication& application, const std::wstring& name, std::wstring sourcePath,
                        bool untitled, std::wstring printer);

    const std::wstring& FullName() const { return m_fullName; }
    const std::wstring& SourcePath() const { return m_sourcePath; }
    const std::wstring& Printer() const { return m_printer; }
    bool Saved() const { return m_saved; }
    void SetSaved(bool saved) { m_saved = saved; }
    int PrintCount() const { return m_printCount; }
    int SaveCount() const { return m_saveCount; }

private:
    static void CheckPrintOutArguments(const AutomationArgs& args);
    void PrintOut(const AutomationArgs& args);
    void Save();

    StandInApplication& m_application;
    std::wstring m_sourcePath;
    std::wstring m_fullName;
    std::wstring m_printer;
    bool m_untitled;
    bool m_saved = true;
    int m_printCount = 0;
    int m_saveCount = 0;
};
