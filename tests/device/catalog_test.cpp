// Models, languages and the liblouis table choice.
#include <gtest/gtest.h>

#include "device/catalog.h"

using namespace velumi;

namespace {

TEST(LouisTable, ChoosesByKeyAndGrade) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(LouisTable(FRENCH, 1), "fr-bfu-comp6.utb");
    EXPECT_EQ(LouisTable(FRENCH, 2), "fr-bfu-g2.ctb");
    EXPECT_EQ(LouisTable(FRENCH, 0), "fr-bfu-g2.ctb");
    EXPECT_EQ(LouisTable(DUTCH, 1), "en_US.tbl");
    EXPECT_EQ(LouisTable(BULGARIAN, 2), "en-us-g1.ctb");
    EXPECT_EQ(LouisTable(NONE, 1), "ko-g2.ctb") << "code 0 finds an empty key and the fallback";
    EXPECT_EQ(LouisTable(KOREAN, 1), "en_US.tbl") << "Korean has no key slot";
    EXPECT_EQ(LouisTable(24, 1), "th-g0.utb");
    EXPECT_EQ(LouisTable(GERMAN, 2), "de-g2.ctb");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.substr(0, 17), "6\nfrench\n6\nfrench") << "code and key are printed, each on its own line";
}

TEST(Catalog, ModelsAndOptionSlots) {
    const ModelEntry *tarn = ModelByIndex(3);
    ASSERT_NE(tarn, nullptr);
    EXPECT_EQ(tarn->cellsPerLine, 40);
    EXPECT_EQ(tarn->lines, 20);
    EXPECT_EQ(tarn->brailleCells, 32);
    EXPECT_EQ(ModelByIndex(8), nullptr);
    EXPECT_EQ(ModelByIndex(-1), nullptr);
    EXPECT_EQ(OptionSlotFor(ENGLISH), OptionSlot::EnglishGrade);
    EXPECT_EQ(OptionSlotFor(CHINESE_SIMPLIFIED), OptionSlot::ChineseMode);
    EXPECT_EQ(OptionSlotFor(VIETNAMESE), OptionSlot::VietnameseVariant);
    EXPECT_EQ(OptionSlotFor(KOREAN), OptionSlot::LanguageField);
    EXPECT_EQ(OptionSlotFor(22), OptionSlot::LanguageField);
    EXPECT_TRUE(IsKnownLanguage(25));
    EXPECT_FALSE(IsKnownLanguage(26));
    EXPECT_FALSE(IsKnownLanguage(-1));
}

}  // namespace
