// Feeds random text to liblouis with the catalogue's tables through the SDK's
// liblouis translator, which runs liblouis in its helper process with a
// deadline. A call that liblouis does not finish in time is a finding: the
// class of input on which liblouis 3.24 never returns with the German tables.
// Those tables are left out (the SDK already cuts such calls off); every other
// table of the catalogue is checked for the same class.
//
// Input layout: byte 0 picks the table, the rest is UTF-8 text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "braille/louis_bridge.h"
#include "braille/translator.h"
#include "device/catalog.h"
#include "platform/debug_output.h"
#include "platform/utf.h"

namespace {

constexpr int kDeadlineMs = 2000;
bool g_timedOut = false;

bool IsGerman(std::string_view table) { return table.substr(0, 3) == "de-"; }

bool Setup() {
    setenv("VELUMI_QUIET", "1", 1);
    velumi::SetLouisHelperPath(VELUMI_BUILD_DIR "/lib/velumi/velumi-louis-helper");
    velumi::SetLouisDeadlineMs(kDeadlineMs);
    velumi::platform::SetDebugSink([](const char *text) {
        if (std::strstr(text, "did not finish within")) g_timedOut = true;
    });
    return true;
}

std::string_view TableFor(uint8_t pick) {
    constexpr int kCount = sizeof velumi::kLouisTables / sizeof velumi::kLouisTables[0];
    const velumi::LouisTableEntry &entry = velumi::kLouisTables[(pick >> 1) % kCount];
    return (pick & 1) ? entry.contracted : entry.uncontracted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const bool ready = Setup();
    (void)ready;
    if (size < 1) return 0;
    const std::string_view table = TableFor(data[0]);
    if (IsGerman(table)) return 0;
    velumi::TranslationRequest request;
    request.translator = velumi::TranslatorChoice::Louis;
    request.louisTables = std::string(table);
    const std::u16string text =
        velumi::platform::Utf8ToUtf16(std::string(reinterpret_cast<const char *>(data + 1), size - 1));
    velumi::Translation out;
    g_timedOut = false;
    velumi::TranslateText(text, request, out);
    if (g_timedOut) std::abort();  // liblouis ran away with this table
    return 0;
}
