#include "device/catalog.h"

#include "platform/diagnostics.h"

namespace velumi {

const ModelEntry *ModelByIndex(int index) { return index >= 0 && index < kModelCount ? &kModels[index] : nullptr; }

const LanguageEntry *LanguageByCode(int code) {
    return code >= 0 && code <= kLastNamedLanguage ? &kLanguages[code] : nullptr;
}

OptionSlot OptionSlotFor(int code) {
    const LanguageEntry *l = LanguageByCode(code);
    return l ? l->slot : OptionSlot::LanguageField;
}

std::string_view LouisKeyFor(int language) {
    for (const LouisKey &k : kLouisKeys)
        if (k.code == language) return k.key;
    return "english";
}

std::string_view LouisTable(int language, int grade) {
    const std::string_view key = LouisKeyFor(language);
    DiagnosticLine("%d\n%.*s", language, static_cast<int>(key.size()), key.data());
    for (const LouisTableEntry &t : kLouisTables)
        if (t.key == key) return grade == 1 ? t.uncontracted : t.contracted;
    return kFallbackLouisTable;
}

}  // namespace velumi
