#pragma once
// Reads what the independent PDF tools print: pdfimages' image list and
// qpdf's encryption report.
#include <map>
#include <string>
#include <vector>

class PdfReport {
public:
    // The "enc" column of `pdfimages -list`, one entry per image ("image" is Flate).
    static std::vector<std::string> ImageEncodings(const std::string& listing);

    // The rights of `qpdf --show-encryption`: "print low resolution" -> allowed.
    static std::map<std::string, bool> Rights(const std::string& report);
};
