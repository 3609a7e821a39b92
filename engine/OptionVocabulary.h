#pragma once
// Entries of the Advanced page's lists, in list order; the first is the default.
// The engine matches option texts against these exactly.
#include <cstddef>
#include <iterator>

struct OptionVocabulary {
    static constexpr const wchar_t* documentCompression[] = {L"Flate", L"LZW"};
    static constexpr std::size_t documentCompressionCount = std::size(documentCompression);

    static constexpr const wchar_t* imageCompression[] = {L"Flate", L"JPEG", L"Automatic"};
    static constexpr std::size_t imageCompressionCount = std::size(imageCompression);

    // The engine also knows "High"; the list does not offer it.
    static constexpr const wchar_t* jpegQuality[] = {L"Minimum", L"Low", L"Medium", L"Maximum"};
    static constexpr std::size_t jpegQualityCount = std::size(jpegQuality);

    static constexpr const wchar_t* pdfVersion[] = {L"V1.3(Acrobat 4.xx)", L"V1.4(Acrobat 4.xx)",
                                                    L"V1.5(Acrobat 4.xx)"};
    static constexpr std::size_t pdfVersionCount = std::size(pdfVersion);
};
