#pragma once
// The parameter file's text: a /DOCINFO pdfmark and one setdistillerparams
// dictionary for pdfwrite.
#include "ConversionOptions.h"
#include <string>

class DistillerParameters {
public:
    static std::wstring Text(const ConversionOptions& options);

    // Each part is empty when nothing applies, e.g. for an unknown list text.
    static std::wstring DocumentInformation(const ConversionOptions& options);
    static std::wstring DocumentCompression(const std::wstring& documentCompression);
    static std::wstring ImageCompression(const std::wstring& imageCompression,
                                         const std::wstring& jpegQuality);
    static std::wstring QualityDictionary(const std::wstring& jpegQuality);
};
