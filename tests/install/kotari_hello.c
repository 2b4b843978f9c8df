/* A C99 program against the installed engine header and kotari.pc. */
#include <stdio.h>

#include <KotariEngine.h>

int main(void) {
    uint16_t text[] = {'a', 'b', 'c', 0};
    unsigned char out[2 * KOTARI_CELL_BUFFER_SIZE + 16];
    TranslatorOptions o = {5, 1, 0, 1, 8, 1, 1, 2, 2};
    const int n = BrailleTranslator(text, out, &o);
    if (n != 8 || out[0] != 0x01 || out[1] != 0x03 || out[2] != 0x09 || out[3] != 0) return 1;
    printf("kotari: abc -> %02X %02X %02X\n", out[0], out[1], out[2]);
    return 0;
}
