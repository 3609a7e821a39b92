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
