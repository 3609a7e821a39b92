#pragma once
// Every setting of one conversion. Filled by the Convert dialog when a run starts,
// read-only afterwards. List fields keep the exact text of the chosen entry.
#include <string>

struct ConversionOptions {
    std::wstring presentationPath;
    std::wstring outputFolder;

    std::wstring title;
    std::wstring author;
    std::wstring subject;
    std::wstring keywords;

    int securityEnabled = 0;
    int userPasswordEnabled = 0;
    std::wstring userPassword;
    int ownerPasswordEnabled = 0;
    std::wstring ownerPassword;
    int permissionCopying = 0;
    int permissionFormFilling = 0;
    int permissionChanging = 0;
    int permissionPrinting = 0;
    int encryptionLevel = 0;  // 0 = 40-bit RC4, 1 = 128-bit RC4

    std::wstring documentCompression = L"Flate";
    std::wstring imageCompression = L"Flate";
    std::wstring jpegQuality = L"Minimum";
    std::wstring pdfVersion = L"V1.3(Acrobat 4.xx)";

    // "1.3", "1.4", "1.5" or empty, from the PDF version text.
    std::wstring CompatibilityLevel() const;
};
