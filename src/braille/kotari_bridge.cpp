// The engine as a Translator: KotariEngine's BrailleTranslator export, called
// under the shared lock (the engine keeps library-wide state and no lock).
#include "braille/kotari_bridge.h"

#include <algorithm>

#include "Log/nubra_log.h"
#include "api/error_codes.h"
#include "platform/library.h"
#include "platform/shared_lock.h"

namespace velumi {

namespace {
constexpr char kEngineFile[] = "libKotariEngine.so";

class Engine final : public Translator {
public:
    const char *Name() const override { return "NUBRA"; }

    int Bind() override {
        platform::SharedLockGuard lock;
        if (Bound()) return 0;
        if (!library_.IsOpen() && !Open()) return Fail(Error::EngineLoadFail, "LoadKotariLibrary");
        entry_ = reinterpret_cast<BrailleTranslatorFn>(library_.Symbol("BrailleTranslator"));
        // The library stays loaded; a later binding looks the entry up again.
        if (!entry_) return Fail(Error::EngineGetFuncFail, "LoadKotariLibrary");
        NubraLog("[OK] LoadKotariLibrary() successed");
        return 0;
    }

    void Unbind() override {
        platform::SharedLockGuard lock;
        entry_ = nullptr;
        if (!library_.IsOpen()) return;
        NubraLog("[OK] %s() successed", "FreeKotariLibrary");
        library_.Close();
    }

    bool Bound() const override { return library_.IsOpen() && entry_; }
    bool LaysOutLines() const override { return true; }

    int Translate(std::u16string_view text, const TranslationRequest &request, Translation &out) override {
        platform::SharedLockGuard lock;
        if (!Bound()) return Fail(Error::EngineNotLoaded, "Kotari_BrailleTranslator");
        TranslatorOptions options = request.settings.engine;
        options.language = request.language;
        options.lineCells = request.width;
        // The engine may rewrite its input: it gets a NUL-terminated copy.
        std::u16string input(text);
        const int lineCells = request.width > 0 ? request.width : KOTARI_CELL_BUFFER_SIZE;
        // Wrapping at most doubles the engine's cells; padding adds less than one line.
        std::vector<uint8_t> cells(2 * KOTARI_CELL_BUFFER_SIZE + static_cast<size_t>(lineCells));
        const int produced = entry_(reinterpret_cast<uint16_t *>(input.data()), cells.data(), &options);
        const size_t kept = produced < 0 ? 0 : static_cast<size_t>(produced);
        cells.resize(std::min(kept, cells.size()));
        out.cells = std::move(cells);
        return 0;
    }

    std::string forcedPath;

private:
    bool Open() {
        if (!forcedPath.empty()) return library_.Open(forcedPath);
        const std::string own = platform::OwnDirectory();
        return (!own.empty() && library_.Open(own + kEngineFile)) || library_.Open(kEngineFile);
    }

    platform::Library library_;
    BrailleTranslatorFn entry_ = nullptr;
};

Engine &TheEngine() {
    static Engine *engine = new Engine;  // lives as long as the process: workers may still translate at exit
    return *engine;
}
}  // namespace

Translator &EngineTranslator() { return TheEngine(); }

void SetKotariLibraryPath(const std::string &path) { TheEngine().forcedPath = path; }

int LoadKotariLibrary(int lineWidth, int language) { return BindEngine(lineWidth, language); }

int FreeKotariLibrary() {
    TheEngine().Unbind();
    return 0;
}

bool KotariBound() { return TheEngine().Bound(); }

void KotariSetLineCells(int cells) { SetLineCells(cells); }

TranslatorOptions KotariOptions() { return EngineOptions(); }

}  // namespace velumi
