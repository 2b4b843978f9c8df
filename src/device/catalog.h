// Constant catalogues: pad models, language codes with their translator and
// engine option slot, and the choice of liblouis table per language and grade.
#pragma once

#include <cstdint>
#include <string_view>

namespace velumi {

struct ModelEntry {
    int32_t id;
    std::string_view enumText;
    std::string_view name;  // matched against the device name the pad reports
    int32_t graphicBytes;
    int32_t lines;
    int32_t cellsPerLine;
    int32_t brailleCells;  // 0 = no braille line
};

constexpr int kModelCount = 8;
constexpr int kDefaultModel = 2;
constexpr int kMaxJobBytes = 2048;

inline constexpr ModelEntry kModels[kModelCount] = {
    {0, "VELUMI_ORIEL_WIDE", "ORIEL_WIDE", 300, 20, 15, 0},
    {1, "VELUMI_ORIEL", "ORIEL", 300, 10, 30, 0},
    {2, "VELUMI_LINNET", "LINNET", 300, 10, 30, 20},
    {3, "VELUMI_TARN", "TARN", 800, 20, 40, 32},
    {4, "VELUMI_WREN", "WREN", 140, 7, 20, 0},
    {5, "VELUMI_QX_LINE", "QX-LINE", 0, 0, 0, 20},
    {6, "VELUMI_QX_SHORT", "QX-SHORT", 0, 0, 0, 12},
    {7, "VELUMI_QY_SHORT", "QY-SHORT", 0, 0, 0, 12},
};

constexpr bool ModelsAreConsistent() {
    for (int i = 0; i < kModelCount; ++i) {
        const ModelEntry &m = kModels[i];
        if (m.id != i || m.graphicBytes != m.lines * m.cellsPerLine || m.graphicBytes > kMaxJobBytes) return false;
        // A display-line frame carries at most 249 cells (its length byte is n + 6).
        if (m.cellsPerLine > 249 || m.brailleCells > 249) return false;
    }
    return true;
}
static_assert(ModelsAreConsistent(), "model table: id = index, graphicBytes = lines x cellsPerLine <= 2048");

// clang-format off
enum Language : int32_t {
    NONE = 0, ARABIC = 1, CHINESE_TRADITIONAL = 2, CHINESE_SIMPLIFIED = 3, DUTCH = 4, ENGLISH = 5, FRENCH = 6,
    GERMAN = 7, ITALIAN = 8, JAPANESE = 9, KOREAN = 10, RUSSIAN = 11, SPANISH = 12, VIETNAMESE = 13,
    BULGARIAN = 14, PORTUGUESE = 15, CZECH = 16, POLISH = 17, NORWEGIAN = 18,
};
// clang-format on
constexpr int kLastNamedLanguage = 18;
constexpr int kLastLouisLanguage = 25;  // codes 19..25 are liblouis-only

enum class TranslatorKind { Louis, Engine };
// Field of the engine's option record that holds a language's option.
enum class OptionSlot { LanguageField, EnglishGrade, ChineseMode, FrenchGrade, GermanGrade, VietnameseVariant };

struct LanguageEntry {
    int32_t code;
    std::string_view enumName;
    TranslatorKind translator;
    OptionSlot slot;
};

inline constexpr LanguageEntry kLanguages[kLastNamedLanguage + 1] = {
    {0, "NONE", TranslatorKind::Louis, OptionSlot::LanguageField},
    {1, "ARABIC", TranslatorKind::Engine, OptionSlot::LanguageField},
    {2, "CHINESE_TRADITIONAL", TranslatorKind::Engine, OptionSlot::LanguageField},
    {3, "CHINESE_SIMPLIFIED", TranslatorKind::Engine, OptionSlot::ChineseMode},
    {4, "DUTCH", TranslatorKind::Louis, OptionSlot::LanguageField},
    {5, "ENGLISH", TranslatorKind::Engine, OptionSlot::EnglishGrade},
    {6, "FRENCH", TranslatorKind::Louis, OptionSlot::FrenchGrade},
    {7, "GERMAN", TranslatorKind::Louis, OptionSlot::GermanGrade},
    {8, "ITALIAN", TranslatorKind::Louis, OptionSlot::LanguageField},
    {9, "JAPANESE", TranslatorKind::Engine, OptionSlot::LanguageField},
    {10, "KOREAN", TranslatorKind::Engine, OptionSlot::LanguageField},
    {11, "RUSSIAN", TranslatorKind::Louis, OptionSlot::LanguageField},
    {12, "SPANISH", TranslatorKind::Louis, OptionSlot::LanguageField},
    {13, "VIETNAMESE", TranslatorKind::Louis, OptionSlot::VietnameseVariant},
    {14, "BULGARIAN", TranslatorKind::Louis, OptionSlot::LanguageField},
    {15, "PORTUGUESE", TranslatorKind::Louis, OptionSlot::LanguageField},
    {16, "CZECH", TranslatorKind::Louis, OptionSlot::LanguageField},
    {17, "POLISH", TranslatorKind::Louis, OptionSlot::LanguageField},
    {18, "NORWEGIAN", TranslatorKind::Louis, OptionSlot::LanguageField},
};

constexpr bool LanguagesAreIndexed() {
    for (int i = 0; i <= kLastNamedLanguage; ++i)
        if (kLanguages[i].code != i) return false;
    return true;
}
static_assert(LanguagesAreIndexed(), "language table is indexed by code");

struct LouisKey {
    std::string_view key;
    int32_t code;
};

constexpr int kLouisKeySlots = 32;
// clang-format off
inline constexpr LouisKey kLouisKeys[kLouisKeySlots] = {
    {"japanese", 9},    {"vietnamese", 13}, {"french", 6},   {"italian", 8},  {"spanish", 12},
    {"german", 7},      {"czech", 16},      {"polish", 17},  {"norwegian", 18}, {"russian", 11},
    {"portuguese", 15}, {"danish", 20},     {"greek", 21},   {"swedish", 22}, {"finnish", 23},
    {"kazakh", 19},     {"thai", 24},       {"uzbek", 25},
    // Slots 18..31: empty key, code 0.
};
// clang-format on

struct LouisTableEntry {
    std::string_view key;
    std::string_view uncontracted;
    std::string_view contracted;
};

inline constexpr LouisTableEntry kLouisTables[] = {
    {"korean", "ko-g1.ctb", "ko-g2.ctb"},
    {"english", "en_US.tbl", "en-us-g1.ctb"},
    {"arabic", "ar.tbl", "ar-ar-g2.ctb"},
    {"french", "fr-bfu-comp6.utb", "fr-bfu-g2.ctb"},
    {"japanese", "ja-kantenji.utb", "ja-kantenji.utb"},
    {"german", "de-g0.utb", "de-g2.ctb"},
    {"italian", "it.tbl", "it.tbl"},
    {"russian", "ru-litbrl.ctb", "ru-ru-g1.ctb"},
    {"spanish", "es.tbl", "es-g2.ctb"},
    {"vietnamese", "vi-vn-g0.utb", "vi-vn-g2.ctb"},
    {"czech", "cs.tbl", "cs.tbl"},
    {"polish", "pl.tbl", "pl.tbl"},
    {"norwegian", "no-no-g0.utb", "no-no-g1.ctb"},
    {"kazakh", "kk.utb", "kk.utb"},
    {"portuguese", "pt-pt-g1.utb", "pt.tbl"},
    {"danish", "da-dk-g16.ctb", "da-dk-g26.ctb"},
    {"greek", "el.ctb", "el.ctb"},
    {"swedish", "sv-g0.utb", "sv-g2.ctb"},
    {"finnish", "fi.utb", "fi.utb"},
    {"thai", "th-g0.utb", "th-g0.utb"},
    {"uzbek", "uz-g1.utb", "uz-g1.utb"},
};

inline constexpr std::string_view kFallbackLouisTable = "ko-g2.ctb";

constexpr bool EveryKeyHasTables() {
    for (const LouisKey &k : kLouisKeys) {
        if (k.key.empty()) continue;
        bool found = false;
        for (const LouisTableEntry &t : kLouisTables) found = found || t.key == k.key;
        if (!found) return false;
    }
    return true;
}
static_assert(EveryKeyHasTables(), "every liblouis key has a table in both maps");

// Model by index, or nullptr outside 0..7.
const ModelEntry *ModelByIndex(int index);
// Language entry for codes 0..18, or nullptr.
const LanguageEntry *LanguageByCode(int code);
// True for the codes that BrailleDisplay accepts (0..25).
constexpr bool IsKnownLanguage(int code) { return code >= 0 && code <= kLastLouisLanguage; }
// The engine option slot of a language (LanguageField for codes without one).
OptionSlot OptionSlotFor(int code);
// The liblouis key for a language code: the first slot with that code, "english" when none.
std::string_view LouisKeyFor(int language);
// The liblouis table for a language and grade (1 = uncontracted, else contracted).
// Writes the code and the key, each on its own line, to standard output.
std::string_view LouisTable(int language, int grade);

}  // namespace velumi
