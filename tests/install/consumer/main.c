/* Both libraries through their CMake targets: the SDK translates without a pad,
 * the engine directly; the two must agree. */
#include <stdio.h>
#include <string.h>

#include <KotariEngine.h>
#include <VelumiSDK.h>

int main(void) {
    unsigned char sdk[64], engine[2 * KOTARI_CELL_BUFFER_SIZE + 16];
    int count = 0;
    VelumiTranslateOptions o = {ENGLISH, 2, 0, VELUMI_TRANSLATOR_DEFAULT, NULL};
    if (VELUMI_TRANSLATE("the knowledge", -1, &o, sdk, (int)sizeof sdk, &count) != 0) return 1;
    uint16_t text[] = {'t', 'h', 'e', ' ', 'k', 'n', 'o', 'w', 'l', 'e', 'd', 'g', 'e', 0};
    TranslatorOptions e = {5, 2, 0, 1, 32, 1, 1, 2, 2};
    BrailleTranslator(text, engine, &e);
    if (count < 2 || memcmp(sdk, engine, (size_t)count) != 0) return 2;
    printf("consumer: %d cells, SDK and engine agree\n", count);
    return 0;
}
