// The Japanese translator's diagnostic lines follow the SDK's VELUMI_QUIET switch.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "KotariEngine.h"
#include "lang/japanese/jp_internal.h"

namespace {

struct Printed {
    std::string out, err;
};

Printed TranslateWith(const char *quiet) {
    setenv("VELUMI_QUIET", quiet, 1);
    kotari::jp::g_diagnostics = true;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    std::u16string text = u"東京へ行きます。";
    TranslatorOptions options{9, 1, 0, 1, 20, 1, 1, 2, 2};
    std::vector<uint8_t> out(3 * KOTARI_CELL_BUFFER_SIZE);
    BrailleTranslator(reinterpret_cast<uint16_t *>(text.data()), out.data(), &options);
    Printed p{testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
    kotari::jp::g_diagnostics = false;
    unsetenv("VELUMI_QUIET");
    return p;
}

TEST(JapaneseDiagnostics, FollowTheSdksQuietSwitch) {
    const Printed loud = TranslateWith("0");
    EXPECT_NE(loud.out.find("analysis ret:"), std::string::npos);
    const Printed quiet = TranslateWith("1");
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err, "");
    const Printed moved = TranslateWith("stderr");
    EXPECT_EQ(moved.out, "");
    EXPECT_NE(moved.err.find("analysis ret:"), std::string::npos);
}

}  // namespace
