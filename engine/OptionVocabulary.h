#pragma once
// Entries of the Advanced page's lists, in list order; the first is the default.
// The engine matches option texts against these exactly.
#include <cstddef>
#include <iterator>
#include <string>

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

    // One list as the page labels it.
    struct List {
        const wchar_t* label;
        const wchar_t* const* entries;
        std::size_t count;
    };
    static constexpr List kDocumentCompression{L"Document Compression", documentCompression,
                                               documentCompressionCount};
    static constexpr List kImageCompression{L"Images Compression", imageCompression, imageCompressionCount};
    static constexpr List kJpegQuality{L"JPEG Quality", jpegQuality, jpegQualityCount};
    static constexpr List kPdfVersion{L"PDF Version", pdfVersion, pdfVersionCount};

    // The lists are editable: a typed text is the entry it equals but for ASCII
    // case and surrounding blanks. Index of that entry, or -1: any other text
    // would reach Ghostscript as a broken parameter.
    static int EntryIndex(const List& list, const std::wstring& text);
    // The refusal of a text that is no entry, naming the list and its entries.
    static std::wstring Refusal(const List& list, const std::wstring& text);
};
