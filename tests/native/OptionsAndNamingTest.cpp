#include "DistillerParameters.h"
#include "OptionVocabulary.h"
#include "OutputNaming.h"
#include <gtest/gtest.h>

TEST(ConversionOptions, CompatibilityLevelNeedsTheDigitFirstAtIndexThree) {
    const struct {
        const wchar_t *version, *level;
    } rows[] = {{L"V1.3(Acrobat 4.xx)", L"1.3"},
                {L"V1.4(Acrobat 4.xx)", L"1.4"},
                {L"V1.5(Acrobat 4.xx)", L"1.5"},
                {L"", L""},
                {L"V1.6(Acrobat 4.xx)", L""},
                {L"V1.43", L"1.4"},
                {L"V3.3", L""},
                {L"1.5", L""},
                {L"PDF 1.5", L""}};
    for (const auto& row : rows) {
        ConversionOptions options;
        options.pdfVersion = row.version;
        EXPECT_EQ(options.CompatibilityLevel(), row.level) << row.version;
    }
}

TEST(OptionVocabulary, ListsStartWithTheDefaultsAndTheEngineKnowsEveryEntry) {
    const ConversionOptions defaults;
    EXPECT_EQ(OptionVocabulary::documentCompression[0], defaults.documentCompression);
    EXPECT_EQ(OptionVocabulary::imageCompression[0], defaults.imageCompression);
    EXPECT_EQ(OptionVocabulary::jpegQuality[0], defaults.jpegQuality);
    EXPECT_EQ(OptionVocabulary::pdfVersion[0], defaults.pdfVersion);
    for (std::size_t i = 0; i < OptionVocabulary::documentCompressionCount; ++i)
        EXPECT_NE(DistillerParameters::DocumentCompression(OptionVocabulary::documentCompression[i]), L"");
    for (std::size_t i = 0; i < OptionVocabulary::imageCompressionCount; ++i)
        EXPECT_NE(DistillerParameters::ImageCompression(OptionVocabulary::imageCompression[i], L""), L"");
    for (std::size_t i = 0; i < OptionVocabulary::jpegQualityCount; ++i)
        EXPECT_NE(DistillerParameters::QualityDictionary(OptionVocabulary::jpegQuality[i]), L"");
    ConversionOptions options;
    for (std::size_t i = 0; i < OptionVocabulary::pdfVersionCount; ++i) {
        options.pdfVersion = OptionVocabulary::pdfVersion[i];
        EXPECT_EQ(options.CompatibilityLevel(), L"1." + options.pdfVersion.substr(3, 1));
    }
}

// The lists are editable: a typed text is the entry it spells, or refused.
TEST(OptionVocabulary, TypedTextIsTheEntryItSpellsOrNone) {
    const struct {
        const wchar_t* typed;
        const wchar_t* const* entries;
        std::size_t count;
        const wchar_t* entry;
    } rows[] = {
        {L"lzw", OptionVocabulary::documentCompression, OptionVocabulary::documentCompressionCount, L"LZW"},
        {L"  Flate\t", OptionVocabulary::documentCompression, OptionVocabulary::documentCompressionCount, L"Flate"},
        {L"Deflate", OptionVocabulary::documentCompression, OptionVocabulary::documentCompressionCount, nullptr},
        {L"jpeg", OptionVocabulary::imageCompression, OptionVocabulary::imageCompressionCount, L"JPEG"},
        {L"AUTOMATIC ", OptionVocabulary::imageCompression, OptionVocabulary::imageCompressionCount, L"Automatic"},
        {L"JPG", OptionVocabulary::imageCompression, OptionVocabulary::imageCompressionCount, nullptr},
        {L"75", OptionVocabulary::jpegQuality, OptionVocabulary::jpegQualityCount, nullptr},
        {L"High", OptionVocabulary::jpegQuality, OptionVocabulary::jpegQualityCount, nullptr},
        {L"Max", OptionVocabulary::jpegQuality, OptionVocabulary::jpegQualityCount, nullptr},
        {L"Maximum!", OptionVocabulary::jpegQuality, OptionVocabulary::jpegQualityCount, nullptr},
        {L" medium", OptionVocabulary::jpegQuality, OptionVocabulary::jpegQualityCount, L"Medium"},
        {L"1.4", OptionVocabulary::pdfVersion, OptionVocabulary::pdfVersionCount, nullptr},
        {L"v1.4(acrobat 4.XX)", OptionVocabulary::pdfVersion, OptionVocabulary::pdfVersionCount,
         L"V1.4(Acrobat 4.xx)"},
        {L"", OptionVocabulary::pdfVersion, OptionVocabulary::pdfVersionCount, nullptr},
        {L"   ", OptionVocabulary::pdfVersion, OptionVocabulary::pdfVersionCount, nullptr},
    };
    for (const auto& row : rows) {
        const wchar_t* entry = OptionVocabulary::Match(row.typed, row.entries, row.count);
        EXPECT_EQ(entry ? std::wstring(entry) : L"<none>", row.entry ? row.entry : L"<none>") << row.typed;
    }
    EXPECT_EQ(OptionVocabulary::Refusal(L"75", L"JPEG Quality", OptionVocabulary::jpegQuality,
                                        OptionVocabulary::jpegQualityCount),
              L"\"75\" is not an entry of the list JPEG Quality. Choose one of: Minimum, Low, Medium, Maximum.");
}

TEST(OutputNaming, OutputAndFailureReportPaths) {
    const struct {
        const wchar_t *folder, *presentation, *output, *failure;
    } rows[] = {
        {L"C:\\Out\\", L"C:\\Decks\\Q3.final.pptx", L"C:\\Out\\Q3.final.pdf", L"C:\\Decks\\Q3.final.pdf"},
        {L"C:\\Out", L"C:\\Decks\\Q3.final.pptx", L"C:\\Out\\Q3.final.pdf", L"C:\\Decks\\Q3.final.pdf"},
        {L"", L"C:\\Decks\\deck.ppt", L"deck.pdf", L"C:\\Decks\\deck.pdf"},
        {L"C:\\Out", L"deck.ppt", L"C:\\Out\\deck.pdf", L"deck.pdf"},
        {L"C:\\Out", L"C:\\Decks\\deck", L"C:\\Out\\deck.pdf", L"C:\\Decks\\deck.pdf"},
        {L"C:\\Out", L"C:\\a.b\\deck", L"C:\\Out\\deck.pdf", L"C:\\a.b\\deck.pdf"},
        {L"C:\\Out", L"C:\\a.b\\.pptx", L"C:\\Out\\.pdf", L"C:\\a.b\\.pdf"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(OutputNaming::OutputPath(row.folder, row.presentation), row.output) << row.presentation;
        EXPECT_EQ(OutputNaming::FailureReportPath(row.presentation), row.failure) << row.presentation;
    }
}

// AutoSave on OneDrive or SharePoint: FullName is the deck's address.
TEST(OutputNaming, DeckInTheCloudIsNamedAfterItsAddressDecoded) {
    const struct {
        const wchar_t *address, *output, *failure;
    } rows[] = {
        {L"https://contoso-my.sharepoint.com/personal/ada_contoso_com/Documents/Q3%20r%C3%A9sum%C3%A9.final.pptx",
         L"C:\\Out\\Q3 r\u00E9sum\u00E9.final.pdf",
         L"https://contoso-my.sharepoint.com/personal/ada_contoso_com/Documents/Q3%20r%C3%A9sum%C3%A9.final.pdf"},
        {L"HTTPS://d.docs.live.net/1a2b/%E7%AC%AC%E4%B8%89%F0%9F%93%88.pptx", L"C:\\Out\\\u7B2C\u4E09\U0001F4C8.pdf",
         L"HTTPS://d.docs.live.net/1a2b/%E7%AC%AC%E4%B8%89%F0%9F%93%88.pdf"},
        // A dot in the host is no extension; a query is no part of the name.
        {L"https://contoso.sharepoint.com/sites/Team/Budget", L"C:\\Out\\Budget.pdf",
         L"https://contoso.sharepoint.com/sites/Team/Budget.pdf"},
        {L"https://contoso.sharepoint.com/sites/Team/Plan.pptx?web=1#s2", L"C:\\Out\\Plan.pdf",
         L"https://contoso.sharepoint.com/sites/Team/Plan.pdf"},
        // An escape as the name's very last letters.
        {L"https://contoso.sharepoint.com/sites/Team/Budget%20Q%33", L"C:\\Out\\Budget Q3.pdf",
         L"https://contoso.sharepoint.com/sites/Team/Budget%20Q%33.pdf"},
        // Escaped separators and reserved letters stay in the one file name.
        {L"https://x.example/a/..%5C..%5CWindows%2Fevil%3A%22%3F%2A.pptx", L"C:\\Out\\.._.._Windows_evil____.pdf",
         L"https://x.example/a/..%5C..%5CWindows%2Fevil%3A%22%3F%2A.pdf"},
        // Letters left unescaped, a broken escape, bytes that are no UTF-8.
        {L"http://x.example/M\u00E4rz 100%.pptx", L"C:\\Out\\M\u00E4rz 100%.pdf", L"http://x.example/M\u00E4rz 100%.pdf"},
        {L"https://x.example/a%ZZb%C3%28c%FF.pptx", L"C:\\Out\\a%ZZb\uFFFD(c\uFFFD.pdf",
         L"https://x.example/a%ZZb%C3%28c%FF.pdf"},
        // An escape that ends the address (a name without an extension).
        {L"https://x.example/y/Q3%20Plan%41", L"C:\\Out\\Q3 PlanA.pdf", L"https://x.example/y/Q3%20Plan%41.pdf"},
        {L"https://x.example/y/Caf%C3%A9", L"C:\\Out\\Caf\u00E9.pdf", L"https://x.example/y/Caf%C3%A9.pdf"},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(OutputNaming::IsWebAddress(row.address));
        EXPECT_EQ(OutputNaming::OutputPath(L"C:\\Out", row.address), row.output) << row.address;
        EXPECT_EQ(OutputNaming::FailureReportPath(row.address), row.failure) << row.address;
    }
    for (const wchar_t* path : {L"C:\\Decks\\https.pptx", L"\\\\server\\share\\http%20x.pptx", L"https:", L"ftp://x/y"})
        EXPECT_FALSE(OutputNaming::IsWebAddress(path)) << path;
}

// A folder text that depends on the host's current folder names no output folder;
// a full one passes MAX_PATH once prefixed.
TEST(OutputNaming, OnlyFullPathsAndTheirExtendedForm) {
    for (const wchar_t* full : {L"C:\\Out", L"c:/Out", L"Z:\\", L"\\\\server\\share\\Out", L"\\\\?\\C:\\Out"})
        EXPECT_TRUE(OutputNaming::IsFullPath(full)) << full;
    for (const wchar_t* relative : {L"Out", L"Out\\", L".\\Out", L"..\\Out", L"\\Out", L"C:Out", L"C:", L"", L"\\\\",
                                    L"\\\\\\Out", L"1:\\Out"})
        EXPECT_FALSE(OutputNaming::IsFullPath(relative)) << relative;
    const struct {
        const wchar_t *full, *extended;
    } rows[] = {{L"C:\\Out\\Q3.pdf", L"\\\\?\\C:\\Out\\Q3.pdf"},
                {L"\\\\server\\share\\Q3.pdf", L"\\\\?\\UNC\\server\\share\\Q3.pdf"},
                {L"\\\\?\\C:\\Out\\Q3.pdf", L"\\\\?\\C:\\Out\\Q3.pdf"},
                {L"\\\\?\\UNC\\server\\share", L"\\\\?\\UNC\\server\\share"}};
    for (const auto& row : rows) EXPECT_EQ(OutputNaming::ExtendedPath(row.full), row.extended) << row.full;
}
