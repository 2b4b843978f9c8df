#include "text.h"

#include <cctype>
#include <cstdlib>

namespace velumi_tool {

bool Utf8ToUtf16(const std::string &in, std::u16string &out) {
    out.clear();
    const size_t n = in.size();
    for (size_t i = 0; i < n;) {
        const unsigned char c = static_cast<unsigned char>(in[i]);
        char32_t cp;
        int extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if (c >= 0xC2 && c <= 0xDF) {
            cp = c & 0x1F;
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            cp = c & 0x0F;
            extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            cp = c & 0x07;
            extra = 3;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(extra) >= n && extra > 0) return false;  // truncated sequence
        for (int k = 1; k <= extra; ++k) {
            const unsigned char d = static_cast<unsigned char>(in[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
        if (cp >= 0xD800 && cp <= 0xDFFF) return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += 1 + extra;
    }
    return true;
}

namespace {
bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\f' || c == u'\v'; }

void CutInto(const std::u16string &paragraph, size_t limit, std::vector<std::u16string> &out) {
    size_t start = 0;
    while (paragraph.size() - start > limit) {
        size_t cut = paragraph.rfind(u' ', start + limit);
        if (cut == std::u16string::npos || cut <= start) {
            cut = start + limit;
            // Never split a surrogate pair.
            if (paragraph[cut] >= 0xDC00 && paragraph[cut] <= 0xDFFF) --cut;
            out.push_back(paragraph.substr(start, cut - start));
            start = cut;
        } else {
            out.push_back(paragraph.substr(start, cut - start));
            start = cut + 1;
        }
    }
    if (start < paragraph.size()) out.push_back(paragraph.substr(start));
}
}  // namespace

std::vector<std::u16string> Paragraphs(const std::u16string &text, size_t limit) {
    if (limit < 2) limit = 2;
    std::vector<std::u16string> out;
    std::u16string current;
    bool pendingSpace = false, lineEmpty = true;
    auto finish = [&] {
        if (!current.empty()) CutInto(current, limit, out);
        current.clear();
        pendingSpace = false;
    };
    for (char16_t c : text) {
        if (c == u'\n') {
            if (lineEmpty) finish();  // an empty line ends the paragraph
            lineEmpty = true;
            pendingSpace = !current.empty();
            continue;
        }
        if (IsSpace(c)) {
            pendingSpace = !current.empty();
            continue;
        }
        if (pendingSpace) current.push_back(u' ');
        pendingSpace = false;
        lineEmpty = false;
        current.push_back(c);
    }
    finish();
    return out;
}

const std::vector<LanguageName> &Languages() {
    static const std::vector<LanguageName> kLanguages = {
        {"arabic", 1, "ar"},
        {"chinese_traditional", 2, "zh-tw,zh-hant"},
        {"chinese_simplified", 3, "zh,zh-cn,zh-hans"},
        {"dutch", 4, "nl"},
        {"english", 5, "en"},
        {"french", 6, "fr"},
        {"german", 7, "de"},
        {"italian", 8, "it"},
        {"japanese", 9, "ja"},
        {"korean", 10, "ko"},
        {"russian", 11, "ru"},
        {"spanish", 12, "es"},
        {"vietnamese", 13, "vi"},
        {"bulgarian", 14, "bg"},
        {"portuguese", 15, "pt"},
        {"czech", 16, "cs"},
        {"polish", 17, "pl"},
        {"norwegian", 18, "no,nb"},
        {"kazakh", 19, "kk"},
        {"danish", 20, "da"},
        {"greek", 21, "el"},
        {"swedish", 22, "sv"},
        {"finnish", 23, "fi"},
        {"thai", 24, "th"},
        {"uzbek", 25, "uz"},
    };
    return kLanguages;
}

int ParseLanguage(const std::string &text) {
    std::string key;
    for (char c : text) key.push_back(c == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (key.empty()) return -1;
    if (key.find_first_not_of("0123456789") == std::string::npos) {
        if (key.size() > 3) return -1;
        const int code = std::atoi(key.c_str());
        return code >= 1 && code <= 25 ? code : -1;
    }
    for (const LanguageName &l : Languages()) {
        if (key == l.name) return l.code;
        std::string iso = l.iso;
        for (char &c : iso)
            if (c == '-') c = '_';
        size_t start = 0;
        for (;;) {
            const size_t comma = iso.find(',', start);
            if (iso.substr(start, comma - start) == key) return l.code;
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    return -1;
}

std::string LanguageNameOf(int code) {
    for (const LanguageName &l : Languages())
        if (l.code == code) return l.name;
    return std::to_string(code);
}

bool EngineHasLanguage(int code) {
    switch (code) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 16:
    case 17:
    case 18: return true;
    default: return false;
    }
}

bool LouisHasLanguage(int code) { return code >= 4 && code <= 25 && code != 10; }

std::string GradeProblem(int code, int grade) {
    const std::string name = LanguageNameOf(code);
    switch (code) {
    case 1:
    case 2:
    case 9:
    case 10: return name + " has no grade option; leave out --grade";
    case 3:
        return grade >= 1 && grade <= 3 ? ""
                                        : name + " has the modes 1, 2 and 3 (--grade), not " + std::to_string(grade);
    case 8:
    case 16:
    case 17:
    case 19:
    case 21:
    case 23:
    case 24:
    case 25:
        // One liblouis table serves both grades.
        return grade == 1 ? "" : name + " has one braille grade only (--grade 1), not " + std::to_string(grade);
    default:
        return grade == 1 || grade == 2
                   ? ""
                   : name + " has the grades 1 (uncontracted) and 2 (contracted), not " + std::to_string(grade);
    }
}

}  // namespace velumi_tool
