/*
 * VelumiSDK: host SDK for the Velumi tactile pad.
 *
 * Open a pad by serial port number, show dot graphics on its graphics area and
 * braille text on its braille line, page long text with the pad's keys, and
 * receive key presses and completion through callbacks.
 *
 * Every function returns an error code (0 = success, see VELUMI_ERROR_*).
 * Port numbers: port N opens the device path in the environment variable
 * VELUMI_PORT_N when it is set (for example VELUMI_PORT_1=/dev/ttyUSB0 or a
 * /dev/serial/by-id/ path; an application may setenv() it before init), else
 * $VELUMI_PORT_DIR/comN when that variable is set (the simulated pad creates
 * such links), else /dev/ttyS(N-1). The port is locked while open: a second
 * program opening it gets VELUMI_ERROR_COM_OPEN_FAIL. The SDK's trace names the
 * reason (no such device, permission denied: join the dialout group, busy).
 *
 * Environment
 * -----------
 * VELUMI_QUIET=1 silences the diagnostic lines the SDK prints on standard
 * output and standard error (translator choice, liblouis tables and warnings;
 * the engine's lines too); VELUMI_QUIET=stderr moves the standard-output lines
 * to standard error. VELUMI_NO_TRACE_FILE=1 writes no trace file (and creates
 * no trace folder). Both are read at the time of each line or init.
 * liblouis runs in the helper program velumi/velumi-louis-helper beside this
 * library (VELUMI_LOUIS_HELPER names another); a liblouis call that does not
 * end within 5 s, or crashes, returns VELUMI_ERROR_BRAILLE_NOT_TRANSLATE.
 *
 * Thread safety
 * -------------
 * The functions may be called from any thread, but from one thread at a time;
 * VELUMI_INIT and VELUMI_DEINIT are safe against each other on any threads (they
 * run one after the other). Callbacks run on the SDK's own threads:
 *  - key callback: on the serial receive thread, for each key notice;
 *  - display callback: on the display transfer thread, under the SDK's internal
 *    lock, when a display job has been shown completely (not when a transfer
 *    fails, and not for a call that returned an error or
 *    VELUMI_ERROR_DISPLAY_NO_CHANGE). The callback takes no argument: it reports
 *    the one job that was running, and only one runs at a time (a display call
 *    while one runs returns VELUMI_ERROR_DISPLAY_IN_PROGRESS). Jobs are: each
 *    successful VELUMI_DISPLAY, VELUMI_DISPLAY_DATA(_PART), VELUMI_RESET_DISPLAY,
 *    VELUMI_BRAILLE_DISPLAY, VELUMI_BRAILLE_ASCII_DISPLAY and
 *    VELUMI_RESET_BRAILLE_DISPLAY; each page move (VELUMI_SEND_KEY or the pad's
 *    own page keys; a move refused at the first or last line reports nothing);
 *    and init's clearing of the braille line and then of the graphics area.
 *    Counting callbacks against the calls that returned 0 tells which is which;
 *  - firmware-version and device-name callbacks: on the caller's thread when the
 *    value is already known, else on the serial receive thread when the pad
 *    answers (before the call that asked returns).
 * A callback that blocks stops reception (or the transfers) until it returns.
 *
 * Calling the SDK from a callback
 * -------------------------------
 * Every function returns from a callback within its usual bound, and leaves the
 * SDK as it was:
 *  - functions that do not wait for the pad work as usual: VELUMI_SEND_KEY (the
 *    page move runs after the callback returns), VELUMI_GET_DISPLAY_INFO,
 *    VELUMI_SET_BRAILLE_LANGUAGE, the registrations, VELUMI_GET_TGXS_DATA, and
 *    VELUMI_GET_FW_VERSION / VELUMI_GET_DEVICE_NAME when the value is known
 *    (the callback given is then called at once, on the same thread);
 *  - functions that would wait for the pad (the display and braille functions,
 *    and the two queries when the value is not known) return
 *    VELUMI_ERROR_COM_RESPONSE_TIMEOUT at once and send nothing: the answer
 *    would have to come through the very thread that runs the callback;
 *  - VELUMI_DEINIT returns VELUMI_ERROR_DISPLAY_IN_PROGRESS at once and changes
 *    nothing (it would have to stop the thread that runs the callback): de-init
 *    after the callback has returned, from the application's own thread;
 *  - VELUMI_INIT and VELUMI_INIT_WITH_DEVICE_TYPE return VELUMI_ERROR_ALREADY_INIT.
 *
 * Starting up
 * -----------
 * VELUMI_INIT returns 0 once the port is open, even when no pad answers: the
 * device-name question and the two clears then fail quietly (traced) after
 * their resends, about 4 s each. To find out whether a pad is there, call
 * VELUMI_GET_DEVICE_NAME after init: it calls back with the name when the pad
 * answered init's question, and returns VELUMI_ERROR_COM_NOT_RESPONSE (or
 * _RESPONSE_TIMEOUT) without calling back when nothing answers; or wait for
 * init's display callbacks with a time-out of your own.
 * Init leaves the clearing of the graphics area running when it returns (the
 * first line is accepted, the others follow): a display call made at once
 * returns VELUMI_ERROR_DISPLAY_IN_PROGRESS (129). Either register the display
 * callback before init and wait for its calls (one for the braille line, one
 * for the graphics area, on a model with both), or retry a call that returns 129 after a few
 * milliseconds.
 *
 * Graphic cells
 * -------------
 * The graphics area is `lines` x `cellsPerLine` cells (VELUMI_GET_DISPLAY_INFO),
 * sent line after line, top line first, each line's cells left to right. A
 * cell is 2 pins across by 4 down; bit n-1 raises dot n, and the dots are
 * numbered as in eight-dot braille:
 *      left column  right column
 *        dot 1 0x01   dot 4 0x08     (top row)
 *        dot 2 0x02   dot 5 0x10
 *        dot 3 0x04   dot 6 0x20
 *        dot 7 0x40   dot 8 0x80     (bottom row)
 * So the pin at column x (0 = left), row y (0 = top) of the whole area lies in
 * cell (y / 4) * cellsPerLine + x / 2. Braille cells use the same bits; the
 * translators produce six-dot cells (bits 0x01..0x20).
 */
/* The layout of this header is kept by hand (aligned member and value comments). */
/* clang-format off */
#ifndef VELUMI_SDK_H
#define VELUMI_SDK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
typedef char16_t velumi_char16; /* UTF-16 code unit */
#else
typedef uint_least16_t velumi_char16; /* UTF-16 code unit (char16_t) */
#endif

#if defined(VELUMI_BUILDING)
#define VELUMI_API __attribute__((visibility("default")))
#else
#define VELUMI_API
#endif

/* Error codes; VELUMI_ERROR_NAME and VELUMI_ERROR_TEXT describe them. */
#define VELUMI_ERROR_NONE 0
#define VELUMI_ERROR_NOT_INIT 2                    /* not initialised (or the SDK could not start) */
#define VELUMI_ERROR_ALREADY_INIT 3                /* init on an initialised SDK */
#define VELUMI_ERROR_ENGINE_LOAD_FAIL 4            /* libKotariEngine.so not found */
#define VELUMI_ERROR_ENGINE_GET_FUNC_FAIL 5        /* the engine lacks BrailleTranslator */
#define VELUMI_ERROR_TRANSLATOR_NOT_LOADED 6       /* the chosen translator (engine or liblouis) is not loaded */
#define VELUMI_ERROR_INVALID_DISPLAY_FILE 8        /* not a "_tgx_" file for the current model, or no path */
#define VELUMI_ERROR_INVALID_DEVICE_TYPE 9         /* device type outside 0..8 */
#define VELUMI_ERROR_NO_BRAILLE_LINE 10            /* the model has no braille line */
#define VELUMI_ERROR_COM_OPEN_FAIL 16              /* the serial port cannot be opened */
#define VELUMI_ERROR_COM_HANDLE_INIT_ERROR 17      /* the port's events cannot be created */
#define VELUMI_ERROR_COM_PORT_ALREADY_OPENED 18    /* the port is already open */
#define VELUMI_ERROR_COM_NOT_OPENED 19             /* display operation before a successful init */
#define VELUMI_ERROR_COM_WRITE_FAIL 32             /* a frame could not be written */
#define VELUMI_ERROR_COM_INVALID_DATA 33           /* VELUMI_SEND_KEY with key 0 or both directions */
#define VELUMI_ERROR_COM_NOT_RESPONSE 34           /* the pad did not answer after three resends */
#define VELUMI_ERROR_COM_RESPONSE_TIMEOUT 35       /* nothing happened within 10 s */
#define VELUMI_ERROR_BRAILLE_NOT_TRANSLATE 64      /* nothing to page through, translation failed, or no text */
#define VELUMI_ERROR_ACCESS_INVALID_MEM 128        /* a display job could not be allocated */
#define VELUMI_ERROR_DISPLAY_IN_PROGRESS 129       /* a transfer is still running */
#define VELUMI_ERROR_DISPLAY_NO_CHANGE ((int)0x80000005u)   /* nothing differs from what the pad shows */
#define VELUMI_ERROR_DISPLAY_INVALID_RANGE ((int)0x80000006u) /* length/offset outside the graphics area, or no data */

/* Pad models (VELUMI_INIT_WITH_DEVICE_TYPE); geometry: cells per line x lines, braille cells. */
enum VelumiModel {
    VELUMI_ORIEL_WIDE = 0, /* 15 x 20, no braille line */
    VELUMI_ORIEL = 1,      /* 30 x 10, no braille line */
    VELUMI_LINNET = 2,     /* 30 x 10, 20 braille cells (default) */
    VELUMI_TARN = 3,       /* 40 x 20, 32 braille cells */
    VELUMI_WREN = 4,       /* 20 x 7, no braille line */
    VELUMI_QX_LINE = 5,    /* braille line of 20 cells only */
    VELUMI_QX_SHORT = 6,   /* braille line of 12 cells only */
    VELUMI_QY_SHORT = 7,   /* braille line of 12 cells only */
    VELUMI_ASK_THE_PAD = 8 /* select the model from the device name the pad reports */
};

/* Languages for the braille line. VELUMI_BRAILLE_DISPLAY (and VELUMI_TRANSLATE
 * by default) translates ARABIC, CHINESE_TRADITIONAL, CHINESE_SIMPLIFIED,
 * ENGLISH, JAPANESE and KOREAN with the Kotari engine, and every other code with
 * liblouis and the table the language's option selects (option 1 uncontracted,
 * else contracted):
 *   FRENCH fr-bfu-comp6.utb / fr-bfu-g2.ctb, GERMAN de-g0.utb / de-g2.ctb,
 *   ITALIAN it.tbl, RUSSIAN ru-litbrl.ctb / ru-ru-g1.ctb, SPANISH es.tbl / es-g2.ctb,
 *   VIETNAMESE vi-vn-g0.utb / vi-vn-g2.ctb, PORTUGUESE pt-pt-g1.utb / pt.tbl,
 *   CZECH cs.tbl, POLISH pl.tbl, NORWEGIAN no-no-g0.utb / no-no-g1.ctb,
 *   DUTCH and BULGARIAN the English tables en_US.tbl / en-us-g1.ctb, NONE ko-g2.ctb;
 *   codes 19..25: Kazakh kk.utb, Danish da-dk-g16.ctb / da-dk-g26.ctb, Greek el.ctb,
 *   Swedish sv-g0.utb / sv-g2.ctb, Finnish fi.utb, Thai th-g0.utb, Uzbek uz-g1.utb.
 * The engine also has translators of its own for FRENCH, GERMAN, ITALIAN,
 * SPANISH, RUSSIAN, CZECH, POLISH, NORWEGIAN and VIETNAMESE, reached through
 * VELUMI_TRANSLATE with VELUMI_TRANSLATOR_ENGINE. Options per language: ENGLISH
 * grade 1 or 2; CHINESE_SIMPLIFIED mode 1, 2 or 3; the liblouis languages 1 or 2
 * where they have two tables; the others none. */
enum VelumiLanguage {
    NONE = 0, ARABIC = 1, CHINESE_TRADITIONAL = 2, CHINESE_SIMPLIFIED = 3, DUTCH = 4, ENGLISH = 5,
    FRENCH = 6, GERMAN = 7, ITALIAN = 8, JAPANESE = 9, KOREAN = 10, RUSSIAN = 11, SPANISH = 12,
    VIETNAMESE = 13, BULGARIAN = 14, PORTUGUESE = 15, CZECH = 16, POLISH = 17, NORWEGIAN = 18
};

/* Callbacks; a null pointer disables one, a new registration replaces the old. */
typedef void (*VELUMI_KEY_CALLBACK)(int key);          /* function keys 0..3, Perkins keys 100 and 200 */
typedef void (*VELUMI_DISPLAY_CALLBACK)(void);         /* a picture or braille line was shown */
typedef void (*VELUMI_TEXT_CALLBACK)(const char *text); /* firmware version or device name */

/* Opens port number `port` (see the top of this file), loads the translators,
 * asks the pad for its device name (which selects the model), then clears the
 * braille line and the graphics area. 0 (also when no pad answers: see
 * "Starting up"), 3 already initialised, 4/5 engine missing (the port is not
 * opened), 16/17/18 port failures. Port numbers are 1..255: any other number
 * returns VELUMI_ERROR_COM_OPEN_FAIL at once, before anything is opened. */
VELUMI_API int VELUMI_INIT(int port);

/* As VELUMI_INIT, but deviceType 0..7 selects the model directly; 8 asks the
 * pad. Other values: VELUMI_ERROR_INVALID_DEVICE_TYPE. */
VELUMI_API int VELUMI_INIT_WITH_DEVICE_TYPE(int port, int deviceType);

/* Closes the link and unloads the translators. 2 when not initialised, 129
 * while a transfer runs or when called from a callback (the SDK stays
 * initialised and unchanged). Init may follow again. */
VELUMI_API int VELUMI_DEINIT(void);

/* Shows a "_tgx_" graphics file: a 30-byte header ("_tgx_", line count, cells
 * per line, 23 unused bytes) and the cells line after line. 8 when the file is
 * missing, short or made for another model, or not a regular file (a pipe,
 * device or folder is refused without waiting on it). Only the header and the
 * picture's cells are read, however large the file. */
VELUMI_API int VELUMI_DISPLAY(const char *path);

/* Shows `length` cell bytes (0..graphic cell count; the rest stays blank).
 * Only lines that differ from what the pad is known to show are sent (a line
 * whose transfer failed counts as unknown and is sent again), unless
 * sendAllLines is nonzero (which then holds for later pictures too). Returns
 * when the pad accepted the first line; the display callback reports the end.
 * VELUMI_ERROR_DISPLAY_NO_CHANGE when nothing differs; VELUMI_ERROR_DISPLAY_INVALID_RANGE
 * for a negative or too large length, or null data with a length. */
VELUMI_API int VELUMI_DISPLAY_DATA(const unsigned char *data, int length, int sendAllLines);

/* Replaces `length` cells from cell `offset` of the last shown picture and sends
 * the lines touched. VELUMI_ERROR_DISPLAY_INVALID_RANGE when length < 1,
 * offset < 0, offset + length beyond the graphics area, or data is null. */
VELUMI_API int VELUMI_DISPLAY_DATA_PART(const unsigned char *data, int length, int offset);

/* Clears the graphics area (VELUMI_ERROR_DISPLAY_NO_CHANGE when already clear). */
VELUMI_API int VELUMI_RESET_DISPLAY(void);

/* Translates NUL-terminated UTF-16 text (at most 2047 units are used) for
 * `language` and shows the first line of it on the braille line. 6 when the
 * translator is not loaded, 64 when translation fails (also when liblouis does
 * not finish within 5 s) or text is null, 10 when the model has no braille line. */
VELUMI_API int VELUMI_BRAILLE_DISPLAY(const velumi_char16 *text, int language);

/* Sets the language and its one option: the English grade (1 uncontracted,
 * else contracted), the Chinese mode, the French grade, the German grade or the
 * Vietnamese variant; for liblouis languages option 1 selects uncontracted
 * tables, anything else contracted ones. The settings are kept across
 * VELUMI_DEINIT and VELUMI_INIT. Always 0. */
VELUMI_API int VELUMI_SET_BRAILLE_LANGUAGE(int language, int option);

/* Shows text written in North American braille ASCII (lower case reads as
 * upper case). 10 when the model has no braille line. As with translated text,
 * only the whole braille lines that fit in 6150 cells are kept (6144
 * characters on a 12- or 32-cell line, 6140 on a 20-cell line); the rest is
 * dropped. De-init releases the kept copy. */
VELUMI_API int VELUMI_BRAILLE_ASCII_DISPLAY(const char *text);

/* Clears the braille line. 10 when the model has no braille line. */
VELUMI_API int VELUMI_RESET_BRAILLE_DISPLAY(void);

/* Pages the braille line as the pad's keys do: bits 0x1/0x4 previous page,
 * 0x2/0x8 next page. 33 for key 0 or both directions, 64 before any braille
 * display, 129 while a transfer runs. */
VELUMI_API int VELUMI_SEND_KEY(int key);

/* Delivers the firmware version (or device name) through the callback: at once
 * when known, else the pad is asked and the callback runs before the call
 * returns. Before the first init, with nothing known, returns 0 at once
 * without calling back. */
VELUMI_API int VELUMI_GET_FW_VERSION(VELUMI_TEXT_CALLBACK callback);
VELUMI_API int VELUMI_GET_DEVICE_NAME(VELUMI_TEXT_CALLBACK callback);

/* Writes the current model's graphic cells per line, graphic lines and braille
 * cells (null pointers are skipped). 2 before init (nothing written). */
VELUMI_API int VELUMI_GET_DISPLAY_INFO(int *cellsPerLine, int *lines, int *brailleCells);

/* Stores the key / display callback. Always 0; allowed before init. */
VELUMI_API int VELUMI_REGISTER_KEY_CALLBACK(VELUMI_KEY_CALLBACK callback);
VELUMI_API int VELUMI_REGISTER_DISPLAY_CALLBACK(VELUMI_DISPLAY_CALLBACK callback);

/* Reads a TGXS document (a path or an http, https, ftp or file URL) and writes
 * its contents to the trace. Always 0; allowed before init.
 * Paths and file URLs (host empty, localhost or 127.0.0.1; query and fragment
 * ignored) are read only when they name a regular file. A document may hold up
 * to 16 MiB and may start with a UTF-8 byte-order mark; nesting deeper than
 * 256 levels makes it invalid. Of "items" the first 10000 are kept, with only
 * their known keys. The trace gets at most 32 lines on wrongly typed values
 * and a dump of at most 195 lines (the first 64 items); a trace line holds at
 * most 1023 bytes, 255 characters in the trace file, so one call adds under
 * 140 KB to the file. URLs are traced without user name and password. */
VELUMI_API int VELUMI_GET_TGXS_DATA(const char *path);

/* The SDK's version as "MAJOR.MINOR.PATCH"; a static string. */
VELUMI_API const char *VELUMI_GET_SDK_VERSION(void);

/* Translation without a pad ---------------------------------------------
 * VELUMI_TRANSLATE turns text into braille cells (dot n in bit n-1) with the
 * same choice of translator and table as VELUMI_BRAILLE_DISPLAY makes for the
 * language (see VelumiLanguage): no init, no pad, any thread, any length. */
#define VELUMI_TRANSLATOR_DEFAULT 0  /* the language's own choice: the engine or liblouis */
#define VELUMI_TRANSLATOR_ENGINE 1   /* the Kotari engine (languages it lacks read as English) */
#define VELUMI_TRANSLATOR_LIBLOUIS 2 /* liblouis with the language's table (or `tables`) */

/* How to translate; a null pointer means English, the current option, no width. */
typedef struct VelumiTranslateOptions {
    int language;       /* a VelumiLanguage code, or 19..25 for the liblouis-only languages */
    int option;         /* the language's option as VELUMI_SET_BRAILLE_LANGUAGE takes it (English:
                           1 uncontracted, 2 contracted); 0: what VELUMI_SET_BRAILLE_LANGUAGE last set
                           (English grade 1, contracted liblouis tables by default). The library-wide
                           setting is not changed. */
    int width;          /* > 0: whole lines of `width` cells, words kept whole where they fit, as on
                           the braille line; 0: one unbroken line without trailing blanks */
    int translator;     /* VELUMI_TRANSLATOR_DEFAULT, _ENGINE or _LIBLOUIS */
    const char *tables; /* a liblouis table list ("en-ueb-g2.ctb" or "unicode.dis,de-g1.ctb") to use
                           instead of the language's table (implies liblouis), or NULL */
} VelumiTranslateOptions;

/* Translates `length` bytes of UTF-8 text (-1: up to its NUL; malformed bytes
 * read as U+FFFD). Line breaks and tabs count as spaces: translate line by line
 * to keep lines apart. Writes at most `capacity` cells to `cells` (which may be
 * NULL when capacity is 0) and the number of cells of the whole translation to
 * *count (when count is not NULL), so a call with capacity 0 measures. Text
 * longer than 2047 UTF-16 units is translated in pieces cut at spaces.
 * 0; VELUMI_ERROR_BRAILLE_NOT_TRANSLATE for null text or a failed translation
 * (for example a table liblouis cannot find); VELUMI_ERROR_TRANSLATOR_NOT_LOADED
 * when the translator's library cannot be loaded; VELUMI_ERROR_DISPLAY_INVALID_RANGE
 * for a negative width or capacity, cells NULL with a capacity, or an unknown
 * translator. */
VELUMI_API int VELUMI_TRANSLATE(const char *text, int length, const VelumiTranslateOptions *options,
                                unsigned char *cells, int capacity, int *count);
/* As VELUMI_TRANSLATE for UTF-16 text; `length` in code units (-1: up to its NUL). */
VELUMI_API int VELUMI_TRANSLATE16(const velumi_char16 *text, int length, const VelumiTranslateOptions *options,
                                  unsigned char *cells, int capacity, int *count);

/* The name of an error code ("VELUMI_ERROR_COM_NOT_RESPONSE" for 34), or NULL
 * for a value that is no error code. A static string; any thread. */
VELUMI_API const char *VELUMI_ERROR_NAME(int code);

/* One line saying what an error code means ("the pad did not answer" for 34),
 * or NULL for a value that is no error code. A static string; any thread. */
VELUMI_API const char *VELUMI_ERROR_TEXT(int code);

#ifdef __cplusplus
}
#endif

#endif /* VELUMI_SDK_H */
/* clang-format on */
