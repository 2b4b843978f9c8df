// The translation path: one interface over the two translators (the Kotari
// engine and liblouis), the library-wide settings VELUMI_SET_BRAILLE_LANGUAGE
// keeps, and TranslateText, which turns a text into cells for a language,
// its grade settings and a line width without any device. The braille line
// (CVelumi::BrailleDisplay) and the pad-less translation call both go through
// TranslateText, so both make the same choice of translator and table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "KotariEngine.h"

namespace velumi {

// Longest text translated in one call, in UTF-16 units (a display job's text
// area less its NUL). Longer text is cut on a whole character; the result says
// how much was used, so a caller can translate the rest in further calls.
constexpr int kMaxTextUnits = 2047;

// What VELUMI_SET_BRAILLE_LANGUAGE sets, kept library-wide between calls and
// across de-init and init.
struct BrailleSettings {
    // The engine's option record. `language` is the language last set;
    // `lineCells` the width of the last translation for a braille line.
    TranslatorOptions engine{5, 1, 0, 1, 20, 1, 1, 2, 2};
    // liblouis: 1 selects the uncontracted table of a language, anything else the contracted one.
    int32_t louisGrade = 2;
};

// Who translates: the catalogue's choice for the language, or one named.
enum class TranslatorChoice { Catalogue, Engine, Louis };

struct TranslationRequest {
    int language = 5;  // the SDK's language code (ENGLISH)
    BrailleSettings settings;  // grades and options; `settings.engine.language` is ignored
    int width = 0;  // cells per line; 0 = one unbroken line
    TranslatorChoice translator = TranslatorChoice::Catalogue;
    std::string louisTables;  // a liblouis table list to use instead of the catalogue's table
};

struct Translation {
    // With a width: whole lines of `width` cells, words kept whole where they
    // fit, at least one line. Without: the cells as translated, no trailing blanks.
    std::vector<uint8_t> cells;
    size_t unitsUsed = 0;  // UTF-16 units of the text that were translated
};

// One translator. Implementations: the engine (kotari_bridge.cpp), liblouis in
// this process (louis_bridge.cpp) and liblouis in a helper process (louis_isolated.cpp).
class Translator {
public:
    virtual ~Translator() = default;
    // The word written to standard output before a braille-line translation ("NUBRA", "LIBLOUIS").
    virtual const char *Name() const = 0;
    // Binds the library (0, or VELUMI_ERROR_ENGINE_LOAD_FAIL / _GET_FUNC_FAIL); binding again is harmless.
    virtual int Bind() = 0;
    virtual void Unbind() = 0;
    virtual bool Bound() const = 0;
    // True when the translator wraps its cells into lines itself (the engine,
    // whose layout keeps some units together); else the SDK's word layout does.
    virtual bool LaysOutLines() const { return false; }
    // Translates at most kMaxTextUnits units of text (already cut by the caller
    // on a whole character) into `out.cells`. 0; VELUMI_ERROR_TRANSLATOR_NOT_LOADED when
    // not bound; VELUMI_ERROR_BRAILLE_NOT_TRANSLATE when the translation failed.
    virtual int Translate(std::u16string_view text, const TranslationRequest &request, Translation &out) = 0;
};

// The translator the catalogue names for a language (liblouis for codes it does not list).
Translator &TranslatorFor(int language, TranslatorChoice choice = TranslatorChoice::Catalogue);
Translator &EngineTranslator();
Translator &LouisTranslator();
// The liblouis translator in this process, bypassing the helper process (benchmarks, tests).
Translator &InProcessLouisTranslator();

// Translates text for request.language with request.settings into cells, with
// no device involved: chooses the translator, binds it when needed, and lays
// the cells out into lines of request.width. Thread-safe. 0 or an error code
// (VELUMI_ERROR_TRANSLATOR_NOT_LOADED, VELUMI_ERROR_ENGINE_LOAD_FAIL,
// VELUMI_ERROR_BRAILLE_NOT_TRANSLATE), traced.
int TranslateText(std::u16string_view text, const TranslationRequest &request, Translation &out);

// The library-wide settings (a copy), and the request that the braille line makes.
BrailleSettings CurrentSettings();
TranslationRequest RequestFor(int language, int width);
// `settings` with a language's option applied as VELUMI_SET_BRAILLE_LANGUAGE
// applies it (the liblouis grade and the language's engine option slot), without
// touching the library-wide settings.
BrailleSettings SettingsWithOption(BrailleSettings settings, int language, int option);
// VELUMI_SET_BRAILLE_LANGUAGE: the language, the liblouis grade and the language's engine option slot.
void SetBrailleLanguage(int language, int option);
// Sets the language field (the braille line does before each translation).
void SetLanguage(int language);
// Sets the width that the engine record reports (the braille line's width).
void SetLineCells(int cells);
// The engine record as it stands (tests).
TranslatorOptions EngineOptions();

// Binding as init does it: the engine's record filled on its first binding;
// liblouis's grade back to contracted. Unbind both at de-init.
int BindEngine(int lineWidth, int language);
int BindLouis(int language);
void UnbindTranslators();

// Logs "Input : ...", "Output" and rows of `rowWidth` cells while the trace is on.
void DumpTranslation(const char16_t *text, const uint8_t *cells, int count, int rowWidth);

// The prefix of text of at most `units` UTF-16 units that ends on a whole character.
std::u16string_view WholeCharacters(std::u16string_view text, size_t units);

}  // namespace velumi
