// Feeds random UTF-16 text and random options to BrailleTranslator. The result
// must be a positive multiple of the line width, and nothing may be written
// past 2 * 6144 + width cells (the bound the public header promises).
//
// Input layout: byte 0 picks the language (20 is Japanese), byte 1 the line width, byte 2 the
// option bits; the rest is UTF-16LE text (at most 2047 units, as the SDK sends).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "KotariEngine.h"
#include "lang/japanese/jp_internal.h"

// The Japanese translator's progress lines would flood the run.
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    kotari::jp::g_diagnostics = false;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3) return 0;
    static const int kLanguages[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 99, -1, 9};
    TranslatorOptions o{};
    o.language = kLanguages[data[0] % (sizeof kLanguages / sizeof kLanguages[0])];
    int widthByte = data[1];
    o.lineCells = widthByte < 200 ? widthByte % 41 : -(widthByte % 3);  // 0..40, or 0/-1/-2
    o.englishGrade = (data[2] & 1) ? 1 : 2;
    o.lowercaseInput = (data[2] >> 1) & 1;
    o.markComputerText = (data[2] >> 2) & 1;
    o.chineseMode = 1 + ((data[2] >> 3) & 3);
    o.frenchGrade = (data[2] & 0x20) ? 2 : 1;
    o.germanGrade = (data[2] & 0x40) ? 1 : 2;
    o.vietnameseVariant = (data[2] & 0x80) ? 1 : 2;

    size_t units = (size - 3) / 2;
    if (units > 2047) units = 2047;
    std::vector<uint16_t> text(units + 1, 0);
    for (size_t i = 0; i < units; ++i) text[i] = static_cast<uint16_t>(data[3 + 2 * i] | (data[4 + 2 * i] << 8));
    // Language data may stop at an embedded NUL, as the SDK's copy would.

    const int width = o.lineCells > 0 ? o.lineCells : KOTARI_CELL_BUFFER_SIZE;
    const size_t limit = 2 * KOTARI_CELL_BUFFER_SIZE + static_cast<size_t>(width);
    // Exactly the promised size on the heap, so ASan reports any write past it.
    uint8_t *out = static_cast<uint8_t *>(std::malloc(limit));
    int n = BrailleTranslator(text.data(), out, &o);
    if (n <= 0 || n % width != 0 || static_cast<size_t>(n) > limit) std::abort();
    for (int i = 0; i < n; ++i)
        if (out[i] > 0x3F && o.language != 9) std::abort();  // six-dot cells only
    std::free(out);
    return 0;
}
