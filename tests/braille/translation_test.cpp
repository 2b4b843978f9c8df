// The translation path without a pad: the catalogue's choice of translator, the
// settings, the word layout, and the text limit.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "braille/kotari_bridge.h"
#include "braille/louis_bridge.h"
#include "braille/translator.h"
#include "braille/word_layout.h"
#include "device/catalog.h"
#include "device/velumi.h"
#include "test_support.h"

using namespace velumi;
using test_support::Hex;

namespace {

class Translate : public testing::Test {
protected:
    static void SetUpTestSuite() {
        SetKotariLibraryPath(VELUMI_BUILD_DIR "/lib/libKotariEngine.so");
        SetLouisHelperPath(VELUMI_BUILD_DIR "/lib/velumi/velumi-louis-helper");
        setenv("VELUMI_QUIET", "1", 1);
    }
    static void TearDownTestSuite() { unsetenv("VELUMI_QUIET"); }

    std::vector<uint8_t> Cells(const std::u16string &text, const TranslationRequest &request) {
        Translation t;
        EXPECT_EQ(TranslateText(text, request, t), 0);
        return t.cells;
    }
    static TranslationRequest Request(int language, int width, int grade = 2) {
        TranslationRequest r;
        r.language = language;
        r.width = width;
        r.settings.louisGrade = grade;
        r.settings.engine.englishGrade = grade;
        return r;
    }
    static std::vector<uint8_t> Louis(const std::string &table, const std::u16string &text) {
        std::vector<uint8_t> cells;
        EXPECT_TRUE(test_support::LouisCells(table, text, cells));
        return cells;
    }
};

std::vector<uint8_t> Word(int letters, uint8_t cell = 0x01) {
    std::vector<uint8_t> w(static_cast<size_t>(letters), cell);
    w.push_back(0);
    return w;
}

TEST(WordLayout, WordsStayWholeWhereTheyFit) {
    // Two letters and their blank, then an 18-cell word: 3 + 18 > 20, so the
    // rest of line 1 is blank and the long word starts line 2.
    std::vector<uint8_t> cells = Word(2);
    const std::vector<uint8_t> second(18, 0x02);
    cells.insert(cells.end(), second.begin(), second.end());
    const std::vector<uint8_t> out = LayOutWords(cells, 20);
    ASSERT_EQ(out.size(), 40u);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[19], 0);
    EXPECT_EQ(out[20], 0x02);
    EXPECT_EQ(out[37], 0x02);
    EXPECT_EQ(out[38], 0);

    // A word longer than a line runs over; the next word follows it at once.
    std::vector<uint8_t> longWord(25, 0x03);
    longWord.push_back(0);
    const std::vector<uint8_t> tail = Word(1, 0x04);
    longWord.insert(longWord.end(), tail.begin(), tail.end());
    const std::vector<uint8_t> wrapped = LayOutWords(longWord, 20);
    ASSERT_EQ(wrapped.size(), 40u);
    EXPECT_EQ(wrapped[24], 0x03);
    EXPECT_EQ(wrapped[25], 0);
    EXPECT_EQ(wrapped[26], 0x04) << "column 6 of line 2";

    EXPECT_EQ(LayOutWords({}, 12), std::vector<uint8_t>(12, 0)) << "nothing gives one blank line";
    EXPECT_EQ(LayOutWords(Word(3), 4).size(), 4u) << "a word and its blank fill a line exactly";
}

TEST_F(Translate, TheCataloguesTranslatorColumnChooses) {
    for (int code = 0; code <= kLastLouisLanguage; ++code) {
        const LanguageEntry *entry = LanguageByCode(code);
        const bool engine = entry && entry->translator == TranslatorKind::Engine;
        EXPECT_EQ(&TranslatorFor(code) == &EngineTranslator(), engine) << code;
    }
    for (int code : {ARABIC, CHINESE_TRADITIONAL, CHINESE_SIMPLIFIED, ENGLISH, JAPANESE, KOREAN})
        EXPECT_STREQ(TranslatorFor(code).Name(), "NUBRA") << code;
    for (int code : std::initializer_list<int>{NONE, DUTCH, FRENCH, GERMAN, NORWEGIAN, 19, 25, 99, -1})
        EXPECT_STREQ(TranslatorFor(code).Name(), "LIBLOUIS") << code;
    EXPECT_EQ(&TranslatorFor(FRENCH, TranslatorChoice::Engine), &EngineTranslator());
    EXPECT_EQ(&TranslatorFor(ENGLISH, TranslatorChoice::Louis), &LouisTranslator());
}

TEST_F(Translate, WithoutAPadEachTranslatorGivesItsOwnCells) {
    // English: the engine, wrapped by the engine for the width.
    EXPECT_EQ(Hex(Cells(u"abc def", Request(ENGLISH, 12, 1))),
        Hex(test_support::EngineCells(u"abc def", ENGLISH, 12)));
    // Dutch: liblouis's English table, laid out by the SDK.
    std::vector<uint8_t> dutch = Louis("en-us-g1.ctb", u"Hello world");
    dutch.resize(20, 0);
    EXPECT_EQ(Hex(Cells(u"Hello world", Request(DUTCH, 20))), Hex(dutch));
    // No width: the cells unbroken, without the padding.
    std::vector<uint8_t> plain = test_support::EngineCells(u"abc def", ENGLISH, 0);
    test_support::TrimTrailingBlanks(plain);
    EXPECT_EQ(Hex(Cells(u"abc def", Request(ENGLISH, 0, 1))), Hex(plain));
    // A translator named instead of the catalogue's, and a table list named.
    TranslationRequest french = Request(FRENCH, 0);
    french.translator = TranslatorChoice::Engine;
    std::vector<uint8_t> engineFrench = test_support::EngineCells(u"été", FRENCH, 0);
    test_support::TrimTrailingBlanks(engineFrench);
    EXPECT_EQ(Hex(Cells(u"été", french)), Hex(engineFrench));
    TranslationRequest ueb = Request(ENGLISH, 0);
    ueb.louisTables = "en-ueb-g2.ctb";
    ueb.translator = TranslatorChoice::Louis;
    EXPECT_EQ(Hex(Cells(u"the braille", ueb)), Hex(Louis("en-ueb-g2.ctb", u"the braille")));
}

TEST_F(Translate, GradeSettingsReachBothTranslators) {
    SetBrailleLanguage(ENGLISH, 1);
    EXPECT_EQ(RequestFor(ENGLISH, 20).settings.engine.englishGrade, 1);
    SetBrailleLanguage(ENGLISH, 2);
    const TranslationRequest contracted = RequestFor(ENGLISH, 20);
    EXPECT_EQ(contracted.settings.engine.englishGrade, 2);
    EXPECT_EQ(Hex(Cells(u"the", contracted)), Hex(test_support::EngineCells(u"the", ENGLISH, 20, 2)));
    SetBrailleLanguage(GERMAN, 1);
    std::vector<uint8_t> german = Louis("de-g0.utb", u"Straße");
    test_support::TrimTrailingBlanks(german);
    EXPECT_EQ(Hex(Cells(u"Straße", RequestFor(GERMAN, 0))), Hex(german));
    EXPECT_EQ(EngineOptions().germanGrade, 1) << "German's engine slot";
    SetBrailleLanguage(ENGLISH, 2);
}

TEST_F(Translate, LongTextIsCutOnAWholeCharacterAndSaysHowMuch) {
    std::u16string text(kMaxTextUnits - 1, u'a');
    text += u"\U0001D400";  // a surrogate pair across the limit
    text += u"bc";
    Translation t;
    ASSERT_EQ(TranslateText(text, Request(ENGLISH, 0, 1), t), 0);
    EXPECT_EQ(t.unitsUsed, static_cast<size_t>(kMaxTextUnits - 1));
    EXPECT_EQ(WholeCharacters(u"ab", 5), u"ab");
}

TEST_F(Translate, ModelChangesOnTheReceiveThreadDoNotRaceATranslation) {
    // The receive thread selects the model when the pad names it, while the
    // application may be translating: run both at once (TSan checks this).
    CVelumi *device = CVelumi::Get();
    ASSERT_NE(device, nullptr);
    std::atomic<bool> stop{false};
    std::thread receive([&] {
        for (int i = 0; !stop; ++i) device->SetDeviceType(i % 2 ? "TARN" : "LINNET");
    });
    for (int i = 0; i < 50; ++i) {
        Translation t;
        EXPECT_EQ(TranslateText(u"abc", RequestFor(ENGLISH, 20), t), 0);
    }
    stop = true;
    receive.join();
    CVelumi::Destroy();
}

}  // namespace
