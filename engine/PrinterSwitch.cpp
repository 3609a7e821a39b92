#include "PrinterSwitch.h"

#include "AppMessageBox.h"
#include "DefaultPrinter.h"
#include "ModulePath.h"

PrinterSwitch::PrinterSwitch(const std::wstring& printer) {
    if (!DefaultPrinter::Read(m_saved)) {
        AppMessageBox::Show(L"The default printer cannot be read, so it is left as it is and nothing is printed.");
        return;
    }
    if (!DefaultPrinter::Set(printer)) {
        // The set-up beside the add-in installs the printer; say how to run it again.
        AppMessageBox::Show(L"The printer " + printer +
                            L" cannot be made the default printer. Is it installed? Nothing is printed. To repair "
                            L"it, select Quillset in Programs and Features and choose Repair, or run Brenmoor.exe in " +
                            ModulePath::Folder() + L"\\ as administrator.");
        return;
    }
    m_switched = true;
}

void PrinterSwitch::Restore() {
    if (!m_switched) return;
    m_switched = false;
    const bool restored = m_saved.empty() ? DefaultPrinter::Clear() : DefaultPrinter::Set(m_saved);
    DefaultPrinter::Announce();
    if (restored) return;
    AppMessageBox::Show(m_saved.empty() ? std::wstring(L"The default printer could not be removed again.")
                                        : L"The default printer could not be set back to " + m_saved +
                                              L". Choose it again in the printer settings.");
}
