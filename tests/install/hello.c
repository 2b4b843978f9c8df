/* A C99 program against the installed header and pkg-config file. */
#include <stdio.h>
#include <string.h>

#include <VelumiSDK.h>

int main(void) {
    int cells = -1, lines = -1, braille = -1;
    const velumi_char16 text[] = {'h', 'i', 0};
    if (strcmp(VELUMI_GET_SDK_VERSION(), VELUMI_VERSION_STRING) != 0) return 1;
    if (VELUMI_GET_DISPLAY_INFO(&cells, &lines, &braille) != VELUMI_ERROR_NOT_INIT) return 2;
    if (cells != -1) return 3;
    if (VELUMI_BRAILLE_DISPLAY(text, ENGLISH) != VELUMI_ERROR_COM_NOT_OPENED) return 4;
    if (VELUMI_REGISTER_KEY_CALLBACK(NULL) != 0) return 5;
    if (strcmp(VELUMI_ERROR_NAME(VELUMI_ERROR_COM_NOT_RESPONSE), "VELUMI_ERROR_COM_NOT_RESPONSE") != 0) return 6;
    if (VELUMI_ERROR_TEXT(7) != NULL || VELUMI_ERROR_TEXT(VELUMI_ERROR_DISPLAY_NO_CHANGE) == NULL) return 7;
    printf("velumi %s\n", VELUMI_GET_SDK_VERSION());
    return 0;
}
