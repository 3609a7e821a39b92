#include "DistillerParameters.h"
#include <gtest/gtest.h>

namespace {

std::wstring Quality(const wchar_t* q, const wchar_t* s) {
    return std::wstring(L"<</QFactor ") + q + L" /HSamples " + s + L" /VSamples " + s +
           L" /Blend 1 /ColorTransform 1 >>";
}

const std::wstring kMinimum = Quality(L"1.5", L"[2 1 1 2]");
const std::wstring kFlateFilters =
    L"/AutoFilterColorImages false\n/AutoFilterGrayImages false\n/EncodeColorImages true\n"
    L"/EncodeGrayImages true\n/EncodeMonoImages true\n/ColorImageFilter /FlateEncode\n"
    L"/GrayImageFilter /FlateEncode\n/MonoImageFilter /FlateEncode";
const std::wstring kDctFilters =
    L"/EncodeColorImages true\n/EncodeGrayImages true\n"
    L"/ColorImageFilter /DCTEncode\n/GrayImageFilter /DCTEncode";

}  // namespace

TEST(DistillerParameters, DefaultsGiveTheWorkedText) {
    EXPECT_EQ(DistillerParameters::Text(ConversionOptions()),
              L"\n\n\n\n<<\n/CompressPages true\n/UseFlateCompression true\n" + kFlateFilters +
                  L"\n/ColorImageDict \n" + kMinimum + L"\n/GrayImageDict \n" + kMinimum +
                  L"\n>> setdistillerparams");
}

TEST(DistillerParameters, ListValuesAndUnknownTexts) {
    EXPECT_EQ(DistillerParameters::QualityDictionary(L"Low"), Quality(L"0.8", L"[2 1 1 2]"));
    EXPECT_EQ(DistillerParameters::QualityDictionary(L"Medium"), Quality(L"0.55", L"[2 1 1 2]"));
    EXPECT_EQ(DistillerParameters::QualityDictionary(L"High"), Quality(L"0.25", L"[2 1 1 2]"));
    EXPECT_EQ(DistillerParameters::QualityDictionary(L"Maximum"), Quality(L"0.1", L"[1 1 1 1]"));
    EXPECT_EQ(DistillerParameters::QualityDictionary(L"minimum"), L"");
    EXPECT_EQ(DistillerParameters::ImageCompression(L"JPEG", L"Minimum"),
              L"/AutoFilterColorImages false\n/AutoFilterGrayImages false\n" + kDctFilters +
                  L"\n/ColorImageDict \n" + kMinimum + L"\n/GrayImageDict \n" + kMinimum);
    EXPECT_EQ(DistillerParameters::ImageCompression(L"Automatic", L"Maximum"),
              L"/AutoFilterColorImages true\n/AutoFilterGrayImages true\n" + kDctFilters +
                  L"\n/ColorACSImageDict \n" + Quality(L"0.1", L"[1 1 1 1]") + L"\n/GrayACSImageDict \n" +
                  Quality(L"0.1", L"[1 1 1 1]"));
    EXPECT_EQ(DistillerParameters::ImageCompression(L"Flate", L"?"),
              kFlateFilters + L"\n/ColorImageDict \n\n/GrayImageDict \n");
    EXPECT_EQ(DistillerParameters::ImageCompression(L"Flate ", L"Minimum"), L"");
    EXPECT_EQ(DistillerParameters::DocumentCompression(L"LZW"),
              L"/CompressPages true\n/UseFlateCompression false\n");
    ConversionOptions unknown;
    unknown.documentCompression = L"ZIP";
    unknown.imageCompression = L"";
    EXPECT_EQ(DistillerParameters::Text(unknown), L"\n\n\n\n<<\n\n>> setdistillerparams");
}

TEST(DistillerParameters, DocumentInformationEntries) {
    const struct {
        const wchar_t *title, *author, *subject, *keywords, *expected;
    } rows[] = {
        {L"", L"", L"", L"", L""},
        {L"", L"", L"", L"a b", L"[ /Keywords (a b)\n/DOCINFO pdfmark"},
        {L"T", L"A", L"", L"", L"[ /Title (T) \n /Author (A)\n/DOCINFO pdfmark"},
        {L"T", L"A", L"S", L"k1\r\nk2",
         L"[ /Title (T) \n /Author (A)\n /Subject (S)\n /Keywords (k1\r\nk2)\n/DOCINFO pdfmark"},
        {L"Q3 (draft)", L"C:\\a\\b)", L"", L"",
         L"[ /Title (Q3 \\(draft\\)) \n /Author (C:\\\\a\\\\b\\))\n/DOCINFO pdfmark"},
        {L"\u00DCn\u00EF", L"", L"\u00E9(\\)", L"",
         L"[ /Title <FEFF00DC006E00EF> \n /Subject <FEFF00E90028005C0029>\n/DOCINFO pdfmark"},
        {L"\u5B63\u5EA6\u62A5\u544A", L"", L"", L"\U0001F600\r\n",
         L"[ /Title <FEFF5B635EA662A5544A> \n /Keywords <FEFFD83DDE00000D000A>\n/DOCINFO pdfmark"},
    };
    for (const auto& row : rows) {
        ConversionOptions options;
        options.title = row.title;
        options.author = row.author;
        options.subject = row.subject;
        options.keywords = row.keywords;
        const std::wstring text = DistillerParameters::Text(options);
        EXPECT_EQ(text.substr(0, text.find(L"\n\n\n\n<<\n/Compress")), row.expected) << row.expected;
    }
}
