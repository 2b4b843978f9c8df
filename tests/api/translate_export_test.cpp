// VELUMI_TRANSLATE and VELUMI_TRANSLATE16: the braille line's translation without a pad.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "VelumiSDK.h"
#include "braille/kotari_bridge.h"
#include "braille/translator.h"
#include "test_support.h"

namespace {

// The engine of this build (a static test binary finds none beside itself).
const bool kEngineFound = [] {
    velumi::SetKotariLibraryPath(VELUMI_BUILD_DIR "/lib/libKotariEngine.so");
    return true;
}();

std::vector<uint8_t> Translate(const std::string &text, const VelumiTranslateOptions *o) {
    int count = -1;
    int r = VELUMI_TRANSLATE(text.c_str(), -1, o, nullptr, 0, &count);
    std::vector<uint8_t> cells(static_cast<size_t>(std::max(count, 0)));
    if (r == 0) r = VELUMI_TRANSLATE(text.c_str(), -1, o, cells.data(), count, &count);
    EXPECT_EQ(r, 0) << text;
    return cells;
}

TEST(TranslateExport, TheBrailleLinesTranslationWithoutAPad) {
    const velumi::BrailleSettings before = velumi::CurrentSettings();
    VelumiTranslateOptions o{ENGLISH, 2, 20, VELUMI_TRANSLATOR_DEFAULT, nullptr};
    const auto cells = Translate("The quick brown fox and the knowledge", &o);
    velumi::Translation line;
    velumi::TranslationRequest request = velumi::RequestFor(ENGLISH, 20);
    request.settings = velumi::SettingsWithOption(request.settings, ENGLISH, 2);
    ASSERT_EQ(velumi::TranslateText(u"The quick brown fox and the knowledge", request, line), 0);
    EXPECT_EQ(cells, line.cells) << "the same path as VELUMI_BRAILLE_DISPLAY";
    EXPECT_EQ(cells.size() % 20, 0u);
    EXPECT_EQ(velumi::CurrentSettings().engine.englishGrade, before.engine.englishGrade)
        << "the library-wide grade is not touched";
    o.width = 0;
    const auto unbroken = Translate("The quick brown fox and the knowledge", &o);
    ASSERT_FALSE(unbroken.empty());
    EXPECT_NE(unbroken.back(), 0) << "no trailing blanks without a width";
    // UTF-16 gives the same cells.
    int count = 0;
    std::vector<uint8_t> cells16(unbroken.size());
    ASSERT_EQ(VELUMI_TRANSLATE16(reinterpret_cast<const velumi_char16 *>(u"The quick brown fox and the knowledge"), -1,
                  &o, cells16.data(), static_cast<int>(cells16.size()), &count),
        0);
    EXPECT_EQ(cells16, unbroken);
}

TEST(TranslateExport, MeasuresCutsNothingAndRefusesBadArguments) {
    VelumiTranslateOptions o{ENGLISH, 1, 0, VELUMI_TRANSLATOR_DEFAULT, nullptr};
    int count = 0;
    unsigned char few[2];
    ASSERT_EQ(VELUMI_TRANSLATE("abcdef", 3, &o, few, 2, &count), 0);
    EXPECT_EQ(count, 3) << "the whole count is reported; `length` limits the text";
    EXPECT_EQ(few[0], 0x01);
    EXPECT_EQ(few[1], 0x03);
    EXPECT_EQ(VELUMI_TRANSLATE(nullptr, -1, &o, nullptr, 0, &count), VELUMI_ERROR_BRAILLE_NOT_TRANSLATE);
    EXPECT_EQ(VELUMI_TRANSLATE("a", -1, &o, nullptr, 4, &count), VELUMI_ERROR_DISPLAY_INVALID_RANGE);
    o.width = -1;
    EXPECT_EQ(VELUMI_TRANSLATE("a", -1, &o, nullptr, 0, &count), VELUMI_ERROR_DISPLAY_INVALID_RANGE);
    o.width = 0;
    o.translator = 7;
    EXPECT_EQ(VELUMI_TRANSLATE("a", -1, &o, nullptr, 0, &count), VELUMI_ERROR_DISPLAY_INVALID_RANGE);
    // Far beyond what one call of the translator takes: nothing is lost.
    std::string text;
    for (int i = 0; i < 1500; ++i) text += "ab ";
    o = {ENGLISH, 1, 0, VELUMI_TRANSLATOR_DEFAULT, nullptr};
    EXPECT_EQ(Translate(text, &o).size(), 1500u * 3 - 1);
    o.width = 10;
    EXPECT_EQ(Translate(text, &o).size(), 1500u / 3 * 10) << "three words of three cells a line";
}

#ifdef VELUMI_HAVE_LOUIS
TEST(TranslateExport, LiblouisByLanguageOrByTableList) {
    VelumiTranslateOptions o{FRENCH, 1, 0, VELUMI_TRANSLATOR_DEFAULT, nullptr};
    std::vector<uint8_t> expected;
    ASSERT_TRUE(test_support::LouisCells("fr-bfu-comp6.utb", u"bonjour", expected));
    test_support::TrimTrailingBlanks(expected);
    EXPECT_EQ(Translate("bonjour", &o), expected);
    o = {ENGLISH, 0, 0, VELUMI_TRANSLATOR_DEFAULT, "en-ueb-g2.ctb"};
    ASSERT_TRUE(test_support::LouisCells("en-ueb-g2.ctb", u"the knowledge", expected));
    test_support::TrimTrailingBlanks(expected);
    EXPECT_EQ(Translate("the knowledge", &o), expected);
    o.tables = "no-such-table.ctb";
    int count = 0;
    EXPECT_EQ(VELUMI_TRANSLATE("x", -1, &o, nullptr, 0, &count), VELUMI_ERROR_BRAILLE_NOT_TRANSLATE);
}
#endif

}  // namespace
