#pragma once
// Entries of the Advanced page's lists, in list order; the first is the default.
// The engine matches option texts against these exactly; a text the user typed
// into a list is first matched to its entry with Match.
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

    // The entry a typed text means: the one it equals, ignoring case and
    // surrounding blanks. Null when it means none.
    static const wchar_t* Match(const std::wstring& text, const wchar_t* const* entries, std::size_t count);
    // What the user is told when a typed text means no entry of the list `listName`.
    static std::wstring Refusal(const std::wstring& text, const std::wstring& listName,
                                const wchar_t* const* entries, std::size_t count);
};
