/*
 * KotariEngine: braille translation engine.
 *
 * One export, BrailleTranslator, turns NUL-terminated UTF-16 text into six-dot
 * braille cells (dot n in bit n-1) for one language and word-wraps them into
 * whole lines of the requested width.
 *
 * Thread safety: the engine keeps its settings in library-wide state and takes
 * no lock. Call it from one thread at a time.
 */
#ifndef KOTARI_ENGINE_H
#define KOTARI_ENGINE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(KOTARI_BUILDING)
#define KOTARI_EXPORT __attribute__((visibility("default")))
#else
#define KOTARI_EXPORT
#endif

/* Language codes of TranslatorOptions.language: the SDK's language codes,
 * passed on unchanged. Codes the engine has no translator for (NONE, CHINESE
 * TRADITIONAL, DUTCH, BULGARIAN, PORTUGUESE and any unknown value) are
 * translated as English. */
typedef enum KotariLanguage {
    KOTARI_LANGUAGE_NONE = 0,
    KOTARI_LANGUAGE_ARABIC = 1,
    KOTARI_LANGUAGE_CHINESE_TRADITIONAL = 2,
    KOTARI_LANGUAGE_CHINESE_SIMPLIFIED = 3,
    KOTARI_LANGUAGE_DUTCH = 4,
    KOTARI_LANGUAGE_ENGLISH = 5,
    KOTARI_LANGUAGE_FRENCH = 6,
    KOTARI_LANGUAGE_GERMAN = 7,
    KOTARI_LANGUAGE_ITALIAN = 8,
    KOTARI_LANGUAGE_JAPANESE = 9,
    KOTARI_LANGUAGE_KOREAN = 10,
    KOTARI_LANGUAGE_RUSSIAN = 11,
    KOTARI_LANGUAGE_SPANISH = 12,
    KOTARI_LANGUAGE_VIETNAMESE = 13,
    KOTARI_LANGUAGE_BULGARIAN = 14,
    KOTARI_LANGUAGE_PORTUGUESE = 15,
    KOTARI_LANGUAGE_CZECH = 16,
    KOTARI_LANGUAGE_POLISH = 17,
    KOTARI_LANGUAGE_NORWEGIAN = 18
} KotariLanguage;

/* Nine signed 32-bit fields, 36 bytes, in this order. */
typedef struct TranslatorOptions {
    int32_t language; /* a KotariLanguage code */
    int32_t englishGrade; /* 1 = uncontracted, anything else = contracted */
    int32_t lowercaseInput; /* nonzero: fold A-Z to a-z before English translation */
    int32_t markComputerText; /* nonzero: enclose web and e-mail addresses in computer-text indicators */
    int32_t lineCells; /* cells per output line; <= 0 means 6144 */
    int32_t chineseMode; /* 2 or 3, anything else = 1 */
    int32_t frenchGrade; /* 2 = contracted, anything else = uncontracted */
    int32_t germanGrade; /* 1 = uncontracted, anything else = contracted */
    int32_t vietnameseVariant; /* 1 = first rule set, anything else = second */
} TranslatorOptions;

/* Size of the engine's work buffer: no translation yields more cells than this
 * before line packing. */
#define KOTARI_CELL_BUFFER_SIZE 6144

/*
 * Translates `text` (NUL-terminated UTF-16; the engine may rewrite it in place,
 * so pass a copy) into `out`. Returns the number of cells written, always a
 * positive multiple of the line width (an empty text yields one blank line).
 * `out` must hold the packed result. Wrapping at most doubles a translation of
 * up to KOTARI_CELL_BUFFER_SIZE cells and padding adds less than one line, so
 * 2 * KOTARI_CELL_BUFFER_SIZE + (line width) cells always suffice.
 */
KOTARI_EXPORT int32_t BrailleTranslator(uint16_t *text, uint8_t *out, const TranslatorOptions *options);

typedef int32_t (*BrailleTranslatorFn)(uint16_t *text, uint8_t *out, const TranslatorOptions *options);

#ifdef __cplusplus
}
#endif

#endif /* KOTARI_ENGINE_H */
