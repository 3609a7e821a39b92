#include "ConversionOptions.h"

// The digit must stand right after "V1."; a later digit wins, so the
// "4" of "Acrobat 4.xx" never counts.
std::wstring ConversionOptions::CompatibilityLevel() const {
    std::wstring level;
    for (wchar_t digit = L'3'; digit <= L'5'; ++digit) {
        if (!pdfVersion.empty() && pdfVersion.find(digit) == 3) level = std::wstring(L"1.") + digit;
    }
    return level;
}
