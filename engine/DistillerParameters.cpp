#include "DistillerParameters.h"
#include "PostScriptString.h"

namespace {

struct DocumentEntry {
    const wchar_t* key;     // text before the string operand
    const wchar_t* ending;  // only the title has a blank before its line feed
    std::wstring ConversionOptions::*field;
};

const DocumentEntry kDocumentEntries[] = {
    {L" /Title ", L" \n", &ConversionOptions::title},
    {L" /Author ", L"\n", &ConversionOptions::author},
    {L" /Subject ", L"\n", &ConversionOptions::subject},
    {L" /Keywords ", L"\n", &ConversionOptions::keywords},
};

struct QualityRow {
    const wchar_t* value;
    const wchar_t* qFactor;
    const wchar_t* sampling;
};

// "High" is not offered by the list but stays understood.
const QualityRow kQualities[] = {
    {L"Minimum", L"1.5", L"[2 1 1 2]"}, {L"Low", L"0.8", L"[2 1 1 2]"},
    {L"Medium", L"0.55", L"[2 1 1 2]"}, {L"High", L"0.25", L"[2 1 1 2]"},
    {L"Maximum", L"0.1", L"[1 1 1 1]"},
};

struct ImageRow {
    const wchar_t* value;
    const wchar_t* filters;
    const wchar_t* colourKey;
    const wchar_t* greyKey;
};

const ImageRow kImageRows[] = {
    {L"JPEG",
     L"/AutoFilterColorImages false\n/AutoFilterGrayImages false\n"
     L"/EncodeColorImages true\n/EncodeGrayImages true\n"
     L"/ColorImageFilter /DCTEncode\n/GrayImageFilter /DCTEncode",
     L"\n/ColorImageDict \n", L"\n/GrayImageDict \n"},
    {L"Flate",
     L"/AutoFilterColorImages false\n/AutoFilterGrayImages false\n"
     L"/EncodeColorImages true\n/EncodeGrayImages true\n/EncodeMonoImages true\n"
     L"/ColorImageFilter /FlateEncode\n/GrayImageFilter /FlateEncode\n"
     L"/MonoImageFilter /FlateEncode",
     L"\n/ColorImageDict \n", L"\n/GrayImageDict \n"},
    {L"Automatic",
     L"/AutoFilterColorImages true\n/AutoFilterGrayImages true\n"
     L"/EncodeColorImages true\n/EncodeGrayImages true\n"
     L"/ColorImageFilter /DCTEncode\n/GrayImageFilter /DCTEncode",
     L"\n/ColorACSImageDict \n", L"\n/GrayACSImageDict \n"},
};

}  // namespace

std::wstring DistillerParameters::Text(const ConversionOptions& options) {
    return DocumentInformation(options) + L"\n\n\n\n<<" + L"\n" +
           DocumentCompression(options.documentCompression) +
           ImageCompression(options.imageCompression, options.jpegQuality) + L"\n>> setdistillerparams";
}

std::wstring DistillerParameters::DocumentInformation(const ConversionOptions& options) {
    std::wstring entries;
    for (const DocumentEntry& entry : kDocumentEntries) {
        const std::wstring& value = options.*entry.field;
        if (!value.empty()) entries += entry.key + PostScriptString::Encode(value) + entry.ending;
    }
    return entries.empty() ? entries : L"[" + entries + L"/DOCINFO pdfmark";
}

std::wstring DistillerParameters::DocumentCompression(const std::wstring& documentCompression) {
    if (documentCompression == L"Flate") return L"/CompressPages true\n/UseFlateCompression true\n";
    if (documentCompression == L"LZW") return L"/CompressPages true\n/UseFlateCompression false\n";
    return std::wstring();
}

// The same quality dictionary serves colour and grey images, whatever the filter.
std::wstring DistillerParameters::ImageCompression(const std::wstring& imageCompression,
                                                   const std::wstring& jpegQuality) {
    for (const ImageRow& row : kImageRows) {
        if (imageCompression == row.value) {
            const std::wstring quality = QualityDictionary(jpegQuality);
            return row.filters + (row.colourKey + quality) + row.greyKey + quality;
        }
    }
    return std::wstring();
}

std::wstring DistillerParameters::QualityDictionary(const std::wstring& jpegQuality) {
    for (const QualityRow& row : kQualities) {
        if (jpegQuality == row.value) {
            return std::wstring(L"<</QFactor ") + row.qFactor + L" /HSamples " + row.sampling +
                   L" /VSamples " + row.sampling + L" /Blend 1 /ColorTransform 1 >>";
        }
    }
    return std::wstring();
}
