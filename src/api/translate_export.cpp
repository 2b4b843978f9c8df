// VELUMI_TRANSLATE and VELUMI_TRANSLATE16: text to braille cells without a pad,
// through the braille line's own translation path (TranslateText).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "VelumiSDK.h"
#include "api/guarded.h"
#include "braille/translator.h"
#include "braille/word_layout.h"
#include "platform/utf.h"

namespace {

using velumi::kMaxTextUnits;

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v'; }

// Pieces of at most kMaxTextUnits units, cut after a space where there is one.
std::vector<std::u16string_view> Pieces(std::u16string_view text) {
    std::vector<std::u16string_view> pieces;
    while (text.size() > static_cast<size_t>(kMaxTextUnits)) {
        std::u16string_view head = velumi::WholeCharacters(text, kMaxTextUnits);
        const size_t space = head.find_last_of(u' ');
        if (space != std::u16string_view::npos && space > 0) head = head.substr(0, space);
        pieces.push_back(head);
        text.remove_prefix(head.size());
        while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    }
    if (!text.empty()) pieces.push_back(text);
    return pieces;
}

int Translate(std::u16string text, const VelumiTranslateOptions *options, unsigned char *cells, int capacity,
    int *count) {
    const VelumiTranslateOptions defaults = {ENGLISH, 0, 0, VELUMI_TRANSLATOR_DEFAULT, nullptr};
    const VelumiTranslateOptions &o = options ? *options : defaults;
    if (count) *count = 0;
    if (o.width < 0 || capacity < 0 || (capacity > 0 && !cells) || o.translator < VELUMI_TRANSLATOR_DEFAULT ||
        o.translator > VELUMI_TRANSLATOR_LIBLOUIS)
        return VELUMI_ERROR_DISPLAY_INVALID_RANGE;
    // Running text: line breaks and tabs are spaces.
    for (char16_t &c : text)
        if (IsSpace(c)) c = u' ';

    velumi::TranslationRequest request = velumi::RequestFor(o.language, o.width);
    if (o.option != 0) request.settings = velumi::SettingsWithOption(request.settings, o.language, o.option);
    request.translator = o.translator == VELUMI_TRANSLATOR_ENGINE     ? velumi::TranslatorChoice::Engine
                         : o.translator == VELUMI_TRANSLATOR_LIBLOUIS ? velumi::TranslatorChoice::Louis
                                                                      : velumi::TranslatorChoice::Catalogue;
    if (o.tables && *o.tables) {
        request.louisTables = o.tables;
        request.translator = velumi::TranslatorChoice::Louis;
    }

    std::vector<uint8_t> out;
    const std::vector<std::u16string_view> pieces = Pieces(text);
    if (pieces.size() <= 1) {
        // One call, exactly as the braille line translates.
        velumi::Translation t;
        const int r = velumi::TranslateText(pieces.empty() ? std::u16string_view() : pieces[0], request, t);
        if (r != 0) return r;
        out = std::move(t.cells);
    } else {
        // Longer than one call takes: the pieces unbroken, joined by a blank, then laid out.
        velumi::TranslationRequest unbroken = request;
        unbroken.width = 0;
        for (std::u16string_view piece : pieces) {
            velumi::Translation t;
            const int r = velumi::TranslateText(piece, unbroken, t);
            if (r != 0) return r;
            if (!out.empty()) out.push_back(0);
            out.insert(out.end(), t.cells.begin(), t.cells.end());
        }
        if (o.width > 0) out = velumi::LayOutWords(out, o.width);
    }
    if (out.size() > static_cast<size_t>(INT32_MAX)) return VELUMI_ERROR_ACCESS_INVALID_MEM;
    if (count) *count = static_cast<int>(out.size());
    if (capacity > 0) std::memcpy(cells, out.data(), std::min(out.size(), static_cast<size_t>(capacity)));
    return VELUMI_ERROR_NONE;
}

template <typename F>
int Guarded(F &&body) noexcept {
    return velumi::api::Guarded(VELUMI_ERROR_BRAILLE_NOT_TRANSLATE, std::forward<F>(body));
}

}  // namespace

extern "C" {

VELUMI_API int VELUMI_TRANSLATE(const char *text, int length, const VelumiTranslateOptions *options,
    unsigned char *cells, int capacity, int *count) {
    return Guarded([&] {
        if (!text) return VELUMI_ERROR_BRAILLE_NOT_TRANSLATE;
        const size_t n = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
        return Translate(velumi::platform::Utf8ToUtf16(std::string(text, n)), options, cells, capacity, count);
    });
}

VELUMI_API int VELUMI_TRANSLATE16(const velumi_char16 *text, int length, const VelumiTranslateOptions *options,
    unsigned char *cells, int capacity, int *count) {
    return Guarded([&] {
        if (!text) return VELUMI_ERROR_BRAILLE_NOT_TRANSLATE;
        size_t n = 0;
        if (length < 0)
            while (text[n]) ++n;
        else n = static_cast<size_t>(length);
        // Unpaired surrogates become U+FFFD, as in the UTF-8 path.
        const std::string utf8 = velumi::platform::Utf16ToUtf8(text, n);
        return Translate(velumi::platform::Utf8ToUtf16(utf8), options, cells, capacity, count);
    });
}

}  // extern "C"
