// Text handling for the command-line tool: UTF-8 to UTF-16, paragraphs, language names.
#pragma once

#include <string>
#include <vector>

namespace velumi_tool {

// UTF-8 to UTF-16; false for malformed UTF-8 (overlong forms, surrogates, truncated sequences).
bool Utf8ToUtf16(const std::string &in, std::u16string &out);

// Splits text into paragraphs: lines are joined with a space, an empty line
// starts a new paragraph; runs of white space become one space. Each paragraph
// is then cut at spaces into pieces of at most `limit` UTF-16 units (at a
// character boundary when a word is longer).
std::vector<std::u16string> Paragraphs(const std::u16string &text, size_t limit);

struct LanguageName {
    const char *name;  // lower case, as in VelumiLanguage (underscores)
    int code;
    const char *iso;  // ISO 639-1 code(s), comma-separated
};
const std::vector<LanguageName> &Languages();
// Language code for a name (case-insensitive, '-' or '_'), an ISO 639-1 code or
// a number 1..25; -1 when unknown.
int ParseLanguage(const std::string &text);
std::string LanguageNameOf(int code);

// True when the Kotari engine has a translator of its own for the language
// (arabic, chinese, english, japanese, korean, and french, german, italian,
// spanish, russian, czech, polish, norwegian, vietnamese).
bool EngineHasLanguage(int code);
// True when liblouis has a table for the language in the SDK's catalogue (not the
// English fallback that arabic, chinese and korean would get).
bool LouisHasLanguage(int code);
// "" when `grade` is an option the language has (VELUMI_SET_BRAILLE_LANGUAGE),
// else a one-line reason naming the grades it has.
std::string GradeProblem(int code, int grade);

}  // namespace velumi_tool
