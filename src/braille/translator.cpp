// The translator choice, the library-wide settings and the one translation
// path shared by the braille line and the pad-less translation.
#include "braille/translator.h"

#include <cstdio>

#include "Log/nubra_log.h"
#include "api/error_codes.h"
#include "braille/word_layout.h"
#include "device/catalog.h"
#include "platform/diagnostics.h"
#include "platform/shared_lock.h"
#include "platform/utf.h"

namespace velumi {

namespace {
BrailleSettings g_settings;  // guarded by the shared lock

TranslatorKind KindFor(int language) {
    const LanguageEntry *entry = LanguageByCode(language);
    return entry ? entry->translator : TranslatorKind::Louis;
}

void SetOptionSlot(TranslatorOptions &record, int value) {
    if (!LanguageByCode(record.language)) return;  // codes outside 0..18 have no slot
    switch (OptionSlotFor(record.language)) {
    case OptionSlot::EnglishGrade: record.englishGrade = value; break;
    case OptionSlot::ChineseMode: record.chineseMode = value; break;
    case OptionSlot::FrenchGrade: record.frenchGrade = value; break;
    case OptionSlot::GermanGrade: record.germanGrade = value; break;
    case OptionSlot::VietnameseVariant: record.vietnameseVariant = value; break;
    case OptionSlot::LanguageField: record.language = value; break;
    }
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Cells of a translation as the request asks for them: whole lines, or unbroken.
void Shape(Translator &translator, const TranslationRequest &request, std::vector<uint8_t> &cells) {
    if (request.width <= 0) {
        TrimTrailingBlanks(cells);
    } else if (!translator.LaysOutLines()) {
        cells = LayOutWords(cells, request.width);
    }
}
}  // namespace

Translator &TranslatorFor(int language, TranslatorChoice choice) {
    if (choice == TranslatorChoice::Engine) return EngineTranslator();
    if (choice == TranslatorChoice::Louis) return LouisTranslator();
    return KindFor(language) == TranslatorKind::Engine ? EngineTranslator() : LouisTranslator();
}

std::u16string_view WholeCharacters(std::u16string_view text, size_t units) {
    if (text.size() <= units) return text;
    if (units > 0 && IsHighSurrogate(text[units - 1])) --units;
    return text.substr(0, units);
}

int TranslateText(std::u16string_view text, const TranslationRequest &request, Translation &out) {
    Translator &translator = TranslatorFor(request.language, request.translator);
    if (!translator.Bound()) translator.Bind();  // a failure shows as "not loaded" below
    const std::u16string_view used = WholeCharacters(text, kMaxTextUnits);
    DiagnosticLine("%s", translator.Name());
    out.cells.clear();
    out.unitsUsed = used.size();
    const int result = translator.Translate(used, request, out);
    if (result != 0) return result;
    Shape(translator, request, out.cells);
    return 0;
}

BrailleSettings CurrentSettings() {
    platform::SharedLockGuard lock;
    return g_settings;
}

TranslationRequest RequestFor(int language, int width) {
    TranslationRequest request;
    request.language = language;
    request.settings = CurrentSettings();
    request.width = width;
    return request;
}

BrailleSettings SettingsWithOption(BrailleSettings settings, int language, int option) {
    settings.engine.language = language;
    settings.louisGrade = option;
    SetOptionSlot(settings.engine, option);
    return settings;
}

void SetBrailleLanguage(int language, int option) {
    platform::SharedLockGuard lock;
    g_settings.engine.language = language;
    g_settings.louisGrade = option;
    SetOptionSlot(g_settings.engine, option);
}

void SetLanguage(int language) {
    platform::SharedLockGuard lock;
    g_settings.engine.language = language;
}

void SetLineCells(int cells) {
    platform::SharedLockGuard lock;
    g_settings.engine.lineCells = cells;
}

TranslatorOptions EngineOptions() { return CurrentSettings().engine; }

int BindEngine(int lineWidth, int language) {
    platform::SharedLockGuard lock;
    if (EngineTranslator().Bound()) return 0;  // the record keeps what was set meanwhile
    const int result = EngineTranslator().Bind();
    if (result == 0) g_settings.engine = TranslatorOptions{language, 1, 0, 1, lineWidth, 1, 1, 2, 2};
    return result;
}

int BindLouis(int language) {
    platform::SharedLockGuard lock;
    const int result = LouisTranslator().Bind();
    if (result != 0) return result;
    g_settings.engine.language = language;
    g_settings.louisGrade = 2;
    return 0;
}

void UnbindTranslators() {
    EngineTranslator().Unbind();
    LouisTranslator().Unbind();
}

void DumpTranslation(const char16_t *text, const uint8_t *cells, int count, int rowWidth) {
    if (!g_traceOn.load(std::memory_order_relaxed)) return;
    size_t units = 0;
    while (text && text[units] && units < kMaxTextUnits) ++units;
    NubraLog("Input : %s ", platform::Utf16ToUtf8(text ? text : u"", units).c_str());
    NubraLog("Output");
    if (rowWidth <= 0) return;
    std::string row;
    for (int i = 0; i < count; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", cells[i]);
        row += hex;
        if ((i + 1) % rowWidth == 0) {
            NubraLog("%s", row.c_str());
            row.clear();
        }
    }
}

}  // namespace velumi
