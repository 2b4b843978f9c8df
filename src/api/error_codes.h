// The one list of error codes: each row gives the internal constant (whose name
// is also the name traced), the value, the public VELUMI_ERROR_ macro and a
// line that says what went wrong. Add a code here and in VelumiSDK.h; the
// static_asserts in error_codes.cpp tie the two together.
#pragma once

namespace velumi {

// X(Id, TRACE_NAME, value, VELUMI_ERROR_ macro, description)
// Value 6 has two rows: the trace says which translator is not loaded.
#define VELUMI_ERROR_LIST(X)                                                                                         \
    X(None, NONE, 0, VELUMI_ERROR_NONE, "no error")                                                                  \
    X(NotInit, VELUMI_NOT_INIT, 2, VELUMI_ERROR_NOT_INIT, "the SDK is not initialised")                              \
    X(AlreadyInit, VELUMI_ALREADY_INIT, 3, VELUMI_ERROR_ALREADY_INIT, "the SDK is already initialised")              \
    X(EngineLoadFail, KOTARI_DLL_LOAD_FAIL, 4, VELUMI_ERROR_ENGINE_LOAD_FAIL, "libKotariEngine.so was not found")    \
    X(EngineGetFuncFail, KOTARI_DLL_GET_FUNC_FAIL, 5, VELUMI_ERROR_ENGINE_GET_FUNC_FAIL,                             \
        "libKotariEngine.so lacks BrailleTranslator")                                                                \
    X(EngineNotLoaded, KOTARI_DLL_COULD_NOT_LOAD, 6, VELUMI_ERROR_TRANSLATOR_NOT_LOADED,                             \
        "the translator for this language is not loaded")                                                            \
    X(LouisNotLoaded, LIBLOUIS_DLL_COULD_NOT_LOAD, 6, VELUMI_ERROR_TRANSLATOR_NOT_LOADED,                            \
        "the translator for this language is not loaded")                                                            \
    X(InvalidDisplayFile, INVALID_DISPLAY_FILE, 8, VELUMI_ERROR_INVALID_DISPLAY_FILE,                                \
        "not a _tgx_ graphics file for this pad model")                                                              \
    X(InvalidDeviceType, INVALID_DEVICE_TYPE, 9, VELUMI_ERROR_INVALID_DEVICE_TYPE, "invalid pad model")              \
    X(NoBrailleLine, NO_BRAILLE_LINE, 10, VELUMI_ERROR_NO_BRAILLE_LINE, "this pad model has no braille line")        \
    X(ComOpenFail, COM_OPEN_FAIL, 16, VELUMI_ERROR_COM_OPEN_FAIL, "the serial port cannot be opened")                \
    X(ComHandleInitError, COM_HANDLE_INIT_ERROR, 17, VELUMI_ERROR_COM_HANDLE_INIT_ERROR,                             \
        "the serial port's events cannot be created")                                                                \
    X(ComPortAlreadyOpened, COM_PORT_ALREADY_OPENED, 18, VELUMI_ERROR_COM_PORT_ALREADY_OPENED,                       \
        "the serial port is already open")                                                                           \
    X(ComNotOpened, COM_NOT_OPENED, 19, VELUMI_ERROR_COM_NOT_OPENED, "the pad is not open")                          \
    X(ComWriteFail, COM_WRITE_FAIL, 32, VELUMI_ERROR_COM_WRITE_FAIL, "a frame could not be written to the pad")      \
    X(ComInvalidData, COM_INVALID_DATA, 33, VELUMI_ERROR_COM_INVALID_DATA, "invalid key")                            \
    X(ComNotResponse, COM_NOT_RESPONSE, 34, VELUMI_ERROR_COM_NOT_RESPONSE, "the pad did not answer")                 \
    X(ComResponseTimeout, COM_RESPONSE_TIMEOUT, 35, VELUMI_ERROR_COM_RESPONSE_TIMEOUT,                               \
        "the pad did not answer within 10 s")                                                                        \
    X(BrailleNotTranslate, BRAILLE_NOT_TRANSLATE, 64, VELUMI_ERROR_BRAILLE_NOT_TRANSLATE,                            \
        "the text could not be translated")                                                                          \
    X(AccessInvalidMem, ACCESS_INVALID_MEM, 128, VELUMI_ERROR_ACCESS_INVALID_MEM, "out of memory")                   \
    X(DisplayInProgress, DISPLAY_IN_PROGRESS, 129, VELUMI_ERROR_DISPLAY_IN_PROGRESS,                                 \
        "a transfer to the pad is still running")                                                                    \
    X(DisplayNoChange, DISPLAY_NO_CHANGE, static_cast<int>(0x80000005u), VELUMI_ERROR_DISPLAY_NO_CHANGE,             \
        "nothing differs from what the pad shows")                                                                   \
    X(DisplayInvalidRange, DISPLAY_INVALID_RANGE, static_cast<int>(0x80000006u), VELUMI_ERROR_DISPLAY_INVALID_RANGE, \
        "the data does not fit the graphics area")

// The internal constants, named as they are traced (NUBRA_ERROR_NO_BRAILLE_LINE, ...).
#define VELUMI_ERROR_CONSTANT(Id, TRACE, value, PUBLIC, text) NUBRA_ERROR_##TRACE = value,
enum : int { VELUMI_ERROR_LIST(VELUMI_ERROR_CONSTANT) };
#undef VELUMI_ERROR_CONSTANT

// One row of the list, for Fail and the trace name.
#define VELUMI_ERROR_ID(Id, TRACE, value, PUBLIC, text) Id,
enum class Error : int { VELUMI_ERROR_LIST(VELUMI_ERROR_ID) };
#undef VELUMI_ERROR_ID

struct ErrorEntry {
    int code;
    const char *traceName;  // "NUBRA_ERROR_NO_BRAILLE_LINE"
    const char *publicName;  // "VELUMI_ERROR_NO_BRAILLE_LINE"
    const char *text;  // what went wrong, for people
};

const ErrorEntry &ErrorInfo(Error error);
inline int Code(Error error) { return ErrorInfo(error).code; }
// The first row with this value, or nullptr for a value that is no error code.
const ErrorEntry *ErrorByCode(int code);

// Traces "[ERROR] NUBRA_ERROR_... in where()" (and " - detail" when given) and
// returns the error's code: `return Fail(Error::NoBrailleLine, "CVelumi::BrailleDisplay");`
int Fail(Error error, const char *where, const char *detail = nullptr);
// As Fail, with the system's text for errno appended (where the OS said no).
int FailErrno(Error error, const char *where, int errnoValue);

}  // namespace velumi
