// The braille line: translated text, braille ASCII, clearing and paging keys.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "Log/nubra_log.h"
#include "api/error_codes.h"
#include "braille/translator.h"
#include "device/velumi.h"
#include "platform/shared_lock.h"
#include "protocol/ccom.h"

namespace velumi {

namespace {
// North American Braille ASCII, characters 0x20..0x5F; dot n in bit n-1.
// clang-format off
constexpr uint8_t kBrailleAscii[64] = {
    0x00, 0x2E, 0x10, 0x3C, 0x2B, 0x29, 0x2F, 0x04, 0x37, 0x3E, 0x21, 0x2C, 0x20, 0x24, 0x28, 0x0C,  // space ! " # $ % & ' ( ) * + , - . /
    0x34, 0x02, 0x06, 0x12, 0x32, 0x22, 0x16, 0x36, 0x26, 0x14, 0x31, 0x30, 0x23, 0x3F, 0x1C, 0x39,  // 0-9 : ; < = > ?
    0x08, 0x01, 0x03, 0x09, 0x19, 0x11, 0x0B, 0x1B, 0x13, 0x0A, 0x1A, 0x05, 0x07, 0x0D, 0x1D, 0x15,  // @ A-O
    0x0F, 0x1F, 0x17, 0x0E, 0x1E, 0x25, 0x27, 0x3A, 0x2D, 0x3D, 0x35, 0x2A, 0x33, 0x3B, 0x18, 0x38,  // P-Z [ \ ] ^ _
};
// clang-format on

// Translates text (cut to the job's text area) into the job's cells, cut to
// whole lines of the braille line within the job's cell area.
int TranslateInto(DisplayJob &job, const char16_t *text, const TranslationRequest &request) {
    const std::u16string used(WholeCharacters(text, kJobTextUnits - 1));
    {
        platform::SharedLockGuard lock;
        std::memset(job.text, 0, sizeof job.text);
        std::memcpy(job.text, used.data(), used.size() * sizeof(char16_t));
    }
    Translation translation;
    const int r = TranslateText(used, request, translation);
    if (r != 0) return r;
    platform::SharedLockGuard lock;
    const int width = request.width;
    size_t count = translation.cells.size();
    if (count > static_cast<size_t>(kJobCellsSize)) count = static_cast<size_t>((kJobCellsSize / width) * width);
    std::memset(job.cells, 0, sizeof job.cells);
    std::memcpy(job.cells, translation.cells.data(), count);
    job.cellCount = static_cast<int32_t>(count);
    DumpTranslation(job.text, job.cells, job.cellCount, width);
    return 0;
}
}  // namespace

uint8_t BrailleAsciiCell(unsigned char c) {
    if (c >= 0x60 && c <= 0x7F) c = static_cast<unsigned char>(c - 0x20);
    return (c >= 0x20 && c <= 0x5F) ? kBrailleAscii[c - 0x20] : 0;
}

namespace {
int NeedsBrailleLine(const char *logName) {
    return CurrentModel().brailleCells != 0 ? 0 : Fail(Error::NoBrailleLine, logName);
}

// The checks before a text is shown on the braille line: the model has one and there is a text.
std::function<int()> BrailleTextChecks(const char *logName, bool hasText) {
    return [logName, hasText] {
        if (const int r = NeedsBrailleLine(logName)) return r;
        return hasText ? 0 : Fail(Error::BrailleNotTranslate, logName, "no text");
    };
}
}  // namespace

int CVelumi::BrailleDisplay(const char16_t *text, int language) {
    int result;
    DisplayJob *job = BeginJob("CVelumi::BrailleDisplay", JobKind::Braille, result,
        BrailleTextChecks("CVelumi::BrailleDisplay", text != nullptr));
    if (!job) return result;
    const int width = CurrentModel().brailleCells;
    dumpRowWidth_ = width;
    velumi::SetLanguage(language);
    const int r = TranslateInto(*job, text, RequestFor(language, width));
    if (r != 0) {
        NubraLog("[ERROR] %s() failed - 0x%x", "CVelumi::BrailleDisplay", r);
        return Abandon(r);
    }
    // Saved before the transfer starts: a page key then finds this text.
    SaveBraille(*job);
    result = CCOM::Instance().RequestDisplay();
    NubraLog("[OK] %s() successed", "CVelumi::BrailleDisplay");
    return result;
}

int CVelumi::SetBrailleLanguage(int language, int option) {
    {
        // Kept library-wide so that a later init gives the application its choice back.
        platform::SharedLockGuard lock;
        auto &settings = Library().languageSettings;
        for (auto it = settings.begin(); it != settings.end(); ++it)
            if (it->first == language) {
                settings.erase(it);
                break;
            }
        settings.emplace_back(language, option);
    }
    velumi::SetBrailleLanguage(language, option);
    return 0;
}

int CVelumi::BrailleASCIIDisplay(const char *text) {
    int result;
    DisplayJob *job = BeginJob("CVelumi::BrailleASCIIDisplay", JobKind::BrailleAscii, result,
        BrailleTextChecks("CVelumi::BrailleASCIIDisplay", text != nullptr));
    if (!job) return result;
    const int width = CurrentModel().brailleCells;
    {
        platform::SharedLockGuard lock;
        // Kept to the whole lines that the braille line pages through, as for
        // translated text; the rest is dropped.
        const size_t most = static_cast<size_t>(kJobCellsSize / width) * width;
        const size_t length = strnlen(text, most + 1);
        const size_t n = length > most ? most : length;
        if (length > most) NubraLog("[CAUTION] %s() text cut to %zu characters", "CVelumi::BrailleASCIIDisplay", n);
        size_t padded = ((n + width - 1) / width) * width;
        if (padded < static_cast<size_t>(width)) padded = static_cast<size_t>(width);
        job->asciiCells.assign(padded + 1, 0);
        for (size_t i = 0; i < n; ++i) job->asciiCells[i] = BrailleAsciiCell(static_cast<unsigned char>(text[i]));
        job->cellCount = static_cast<int32_t>(padded);
        SaveBraille(*job);
    }
    return CCOM::Instance().RequestDisplay();
}

int CVelumi::ResetBrailleDisplay() {
    int result;
    DisplayJob *job = BeginJob("CVelumi::ResetBrailleDisplay", JobKind::Braille, result,
        [] { return NeedsBrailleLine("CVelumi::ResetBrailleDisplay"); });
    if (!job) return result;
    {
        platform::SharedLockGuard lock;
        job->cellCount = CurrentModel().brailleCells;
    }
    result = CCOM::Instance().RequestDisplay();
    NubraLog("[OK] %s() successed", "CVelumi::ResetBrailleDisplay");
    return result;
}

int CVelumi::SendKey(int key) {
    if ((key & 0x5) && (key & 0xA)) return Fail(Error::ComInvalidData, "CVelumi::SendKey");
    if (key == 0) return NUBRA_ERROR_COM_INVALID_DATA;
    if (!HasJobs()) return Fail(Error::BrailleNotTranslate, "CVelumi::SendKey");
    CCOM &com = CCOM::Instance();
    if (com.IsDisplayBusy()) {
        NubraLog("%s", "");
        NubraLog("[CAUTION] NUBRA_ERROR_DISPLAY_IN_PROGRESS in %s() - %s", "CVelumi::SendKey",
            (key & 0x5) ? "PREV_KEY" : "NEXT_KEY");
        return NUBRA_ERROR_DISPLAY_IN_PROGRESS;
    }
    return com.COMReqDispLineByKey(key);
}

}  // namespace velumi
