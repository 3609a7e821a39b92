#include "PdfReport.h"

#include <sstream>

std::vector<std::string> PdfReport::ImageEncodings(const std::string& listing) {
    std::istringstream lines(listing);
    std::vector<std::string> encodings;
    std::string line;
    for (int skip = 2; skip > 0 && std::getline(lines, line);) --skip;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string field;
        for (int column = 0; column < 9 && fields >> field; ++column) {}
        if (!field.empty()) encodings.push_back(field);
    }
    return encodings;
}

std::map<std::string, bool> PdfReport::Rights(const std::string& report) {
    std::istringstream lines(report);
    std::map<std::string, bool> rights;
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos) continue;
        const std::string value = line.substr(colon + 2);
        if (value == "allowed" || value == "not allowed") rights[line.substr(0, colon)] = value == "allowed";
    }
    return rights;
}
