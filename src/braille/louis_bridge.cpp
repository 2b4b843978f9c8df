#include "braille/louis_bridge.h"

#include <cstdlib>

#include "Log/nubra_log.h"
#include "api/error_codes.h"
#include "device/catalog.h"
#include "platform/diagnostics.h"
#include "platform/shared_lock.h"
#include "platform/utf.h"

namespace velumi {

namespace {
std::string g_libraryName = kLouisLibraryName;

constexpr char kLogName[] = "Liblouis_BrailleTranslator";

std::string TableList(const TranslationRequest &request) {
    if (!request.louisTables.empty()) return "unicode.dis," + request.louisTables;
    return "unicode.dis," + std::string(LouisTable(request.language, request.settings.louisGrade));
}

// Unicode scalar values of well-formed UTF-16.
std::u32string ScalarValues(const std::u16string &text) {
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        out.push_back(c);
    }
    return out;
}

// liblouis displays through unicode.dis: a cell is a braille pattern's low byte.
std::vector<uint8_t> Cells(const std::u32string &output) {
    std::vector<uint8_t> cells(output.size());
    for (size_t i = 0; i < output.size(); ++i)
        cells[i] = (output[i] >= 0x2800 && output[i] <= 0x28FF) ? static_cast<uint8_t>(output[i] - 0x2800) : 0;
    return cells;
}
}  // namespace

void SetLouisLibraryName(const std::string &name) { g_libraryName = name; }
const std::string &LouisLibraryName() { return g_libraryName; }

int LouisTranslatorBase::Translate(std::u16string_view text, const TranslationRequest &request, Translation &out) {
    const char *tablePath = std::getenv("LOUIS_TABLEPATH");
    DiagnosticLine("LOUIS_TABLEPATH is set to: %s", tablePath ? tablePath : "");
    if (!Bound()) return Fail(Error::LouisNotLoaded, kLogName);
    const std::string tableList = TableList(request);
    // Unpaired surrogates become U+FFFD: the text handed on is always valid.
    const std::string utf8 = platform::Utf16ToUtf8(text.data(), text.size());
    DiagnosticLine("%s\n%s", tableList.c_str(), utf8.c_str());
    const std::u32string input = ScalarValues(platform::Utf8ToUtf16(utf8));
    std::u32string output;
    // An empty text clears the line, as through the engine; liblouis itself refuses an empty input.
    const int result = input.empty() ? 0 : Call(tableList, input, output, LouisOutputCapacity(input.size()));
    if (result != 0) return result;
    out.cells = Cells(output);
    return 0;
}

int InProcessLouis::Bind() {
    platform::SharedLockGuard lock;
    const int result = call_.Open(g_libraryName);
    if (result == 0) SetLouisTablePath();
    return result;
}

void InProcessLouis::Unbind() {
    platform::SharedLockGuard lock;
    if (!call_.IsOpen()) return;
    NubraLog("[OK] %s() successed", "FreeLouisLibrary");
    call_.Close();
}

int InProcessLouis::Call(const std::string &tableList, const std::u32string &in, std::u32string &out, int capacity) {
    platform::SharedLockGuard lock;
    if (call_.Translate(tableList, in, out, capacity)) return 0;
    return Fail(Error::BrailleNotTranslate, kLogName, "liblouis failed");
}

Translator &InProcessLouisTranslator() {
    static InProcessLouis *louis = new InProcessLouis;  // lives as long as the process
    return *louis;
}

int LoadLiblouisLibrary(int, int language) {
    const int result = BindLouis(language);
    if (result == 0) NubraLog("[OK] LoadLiblouisLibrary() successed");
    return result;
}

int FreeLouisLibrary() {
    LouisTranslator().Unbind();
    return 0;
}

bool LouisBound() { return LouisTranslator().Bound(); }
int LouisGrade() { return CurrentSettings().louisGrade; }

}  // namespace velumi
