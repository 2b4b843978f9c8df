// The one error list: public values, names, texts, and the trace-and-return helper.
#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>

#include "VelumiSDK.h"
#include "api/error_codes.h"
#include "log_capture.h"

namespace {

TEST(ErrorList, EveryPublicCodeHasItsOwnNameAndAText) {
    const int codes[] = {VELUMI_ERROR_NONE, VELUMI_ERROR_NOT_INIT, VELUMI_ERROR_ALREADY_INIT,
        VELUMI_ERROR_ENGINE_LOAD_FAIL, VELUMI_ERROR_ENGINE_GET_FUNC_FAIL, VELUMI_ERROR_TRANSLATOR_NOT_LOADED,
        VELUMI_ERROR_INVALID_DISPLAY_FILE, VELUMI_ERROR_INVALID_DEVICE_TYPE, VELUMI_ERROR_NO_BRAILLE_LINE,
        VELUMI_ERROR_COM_OPEN_FAIL, VELUMI_ERROR_COM_HANDLE_INIT_ERROR, VELUMI_ERROR_COM_PORT_ALREADY_OPENED,
        VELUMI_ERROR_COM_NOT_OPENED, VELUMI_ERROR_COM_WRITE_FAIL, VELUMI_ERROR_COM_INVALID_DATA,
        VELUMI_ERROR_COM_NOT_RESPONSE, VELUMI_ERROR_COM_RESPONSE_TIMEOUT, VELUMI_ERROR_BRAILLE_NOT_TRANSLATE,
        VELUMI_ERROR_ACCESS_INVALID_MEM, VELUMI_ERROR_DISPLAY_IN_PROGRESS, VELUMI_ERROR_DISPLAY_NO_CHANGE,
        VELUMI_ERROR_DISPLAY_INVALID_RANGE};
    std::set<std::string> names;
    for (int code : codes) {
        ASSERT_NE(VELUMI_ERROR_NAME(code), nullptr) << code;
        ASSERT_NE(VELUMI_ERROR_TEXT(code), nullptr) << code;
        EXPECT_EQ(std::string(VELUMI_ERROR_NAME(code)).rfind("VELUMI_ERROR_", 0), 0u);
        EXPECT_TRUE(names.insert(VELUMI_ERROR_NAME(code)).second) << "two codes share " << VELUMI_ERROR_NAME(code);
    }
    EXPECT_STREQ(VELUMI_ERROR_NAME(34), "VELUMI_ERROR_COM_NOT_RESPONSE");
    EXPECT_STREQ(VELUMI_ERROR_NAME(static_cast<int>(0x80000005u)), "VELUMI_ERROR_DISPLAY_NO_CHANGE");
    EXPECT_STREQ(VELUMI_ERROR_TEXT(10), "this pad model has no braille line");
    for (int notACode : {1, 7, 11, 36, 65, 130, -1}) {
        EXPECT_EQ(VELUMI_ERROR_NAME(notACode), nullptr) << notACode;
        EXPECT_EQ(VELUMI_ERROR_TEXT(notACode), nullptr) << notACode;
    }
}

TEST(ErrorList, FailTracesTheListsNameAndReturnsTheCode) {
    LogCapture log;
    using velumi::Error;
    EXPECT_EQ(velumi::Fail(Error::NoBrailleLine, "Here::There"), VELUMI_ERROR_NO_BRAILLE_LINE);
    EXPECT_TRUE(log.Contains("[ERROR] NUBRA_ERROR_NO_BRAILLE_LINE in Here::There()"));
    EXPECT_EQ(velumi::Fail(Error::LouisNotLoaded, "Bridge", "why"), VELUMI_ERROR_TRANSLATOR_NOT_LOADED);
    EXPECT_TRUE(log.Contains("[ERROR] NUBRA_ERROR_LIBLOUIS_DLL_COULD_NOT_LOAD in Bridge() - why"));
    EXPECT_EQ(velumi::FailErrno(Error::ComOpenFail, "Open", ENOENT), VELUMI_ERROR_COM_OPEN_FAIL);
    EXPECT_TRUE(log.Contains("[ERROR] NUBRA_ERROR_COM_OPEN_FAIL in Open() - No such file or directory"));
    EXPECT_EQ(velumi::NUBRA_ERROR_KOTARI_DLL_COULD_NOT_LOAD, velumi::NUBRA_ERROR_LIBLOUIS_DLL_COULD_NOT_LOAD);
}

}  // namespace
