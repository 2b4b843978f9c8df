// German punctuation and symbols, and the grade 2 letter groups.
#include "lang/european/german_tables.h"

// Table data, laid out by hand or by its generator.
// clang-format off
namespace kotari {
namespace german {

constexpr SymbolRecord kSymbols[kSymbolCount] = {
    {u'!', 1, {0x16}},
    {u'#', 2, {0x08, 0x3C}},
    {u'$', 2, {0x08, 0x19}},
    {u'%', 3, {0x3C, 0x1A, 0x34}},
    {u'&', 2, {0x10, 0x25}},
    {u'\'', 1, {0x20}},
    {u'(', 1, {0x36}},
    {u')', 1, {0x36}},
    {u'*', 1, {0x14}},
    {u'+', 2, {0x08, 0x16}},
    {u',', 1, {0x02}},
    {u'-', 1, {0x24}},
    {u'.', 1, {0x04}},
    {u'/', 2, {0x10, 0x02}},
    {u':', 1, {0x12}},
    {u';', 1, {0x06}},
    {u'<', 2, {0x08, 0x30}},
    {u'=', 2, {0x08, 0x36}},
    {u'>', 2, {0x08, 0x18}},
    {u'?', 1, {0x22}},
    {u'@', 2, {0x08, 0x1C}},
    {u'[', 2, {0x20, 0x36}},
    {u'\\', 2, {0x08, 0x0C}},
    {u']', 2, {0x20, 0x36}},
    {u'_', 2, {0x08, 0x38}},
    {u'{', 2, {0x30, 0x36}},
    {u'|', 2, {0x38, 0x07}},
    {u'}', 2, {0x30, 0x36}},
    {u'~', 2, {0x08, 0x2E}},
    {u'\u00A2', 2, {0x08, 0x09}},        // cent
    {u'\u00A7', 2, {0x2C, 0x3C}},        // section
    {u'\u00AB', 1, {0x26}},              // left guillemet
    {u'\u00B0', 2, {0x08, 0x34}},        // degree
    {u'\u00B7', 2, {0x38, 0x07}},        // middle dot
    {u'\u00BB', 1, {0x34}},              // right guillemet
    {u'\u2013', 2, {0x20, 0x24}},        // en dash
    {u'\u2019', 2, {0x20, 0x34}},        // right single quote
    {u'\u201A', 2, {0x20, 0x26}},        // low single quote
    {u'\u201D', 1, {0x34}},              // right double quote
    {u'\u201E', 1, {0x26}},              // low double quote
    {u'\u2022', 2, {0x38, 0x07}},        // bullet
    {u'\u2026', 3, {0x04, 0x04, 0x04}},  // ellipsis
    {u'\u2030', 4, {0x3C, 0x1A, 0x34, 0x34}},  // per mille
    {u'\u2032', 2, {0x08, 0x14}},        // prime
    {u'\u2033', 3, {0x08, 0x14, 0x14}},  // double prime
    {u'\u20AC', 2, {0x08, 0x11}},        // euro
};

namespace {

using P = PatternPlace;

const Pattern kAeuExceptions[] = {
    {u"bartholomäus", P::kAnywhere}, {u"jubiläum", P::kAnywhere}, {u"matthäus", P::kAnywhere}};
const Pattern kEuExceptions[] = {
    {u"eum", P::kAfterLetterAtEnd}, {u"eums", P::kAfterLetterAtEnd}, {u"eunter", P::kAfterLetterThenOne},
    {u"amadeus", P::kAnywhere},     {u"beun", P::kAnywhere},         {u"beur", P::kAnywhere},
    {u"museum", P::kAnywhere}};
const Pattern kEiExceptions[] = {
    {u"eistisch", P::kAfterLetter}, {u"eismus", P::kAfterLetter}, {u"koffein", P::kAnywhere}};
const Pattern kIeOverrides[] = {{u"dient", P::kAnywhere}, {u"schien", P::kAnywhere}};
const Pattern kIeExceptions[] = {
    {u"ien", P::kAfterLetterAtEnd}, {u"iell", P::kAfterLetter},   {u"ient", P::kAfterLetter},
    {u"ietät", P::kAfterLetter},    {u"ieu", P::kAfterLetter},    {u"gien", P::kAnywhere},
    {u"lien", P::kAnywhere},        {u"mien", P::kAnywhere},      {u"nien", P::kAnywhere},
    {u"rien", P::kAnywhere},        {u"sien", P::kAnywhere},      {u"tien", P::kAnywhere},
    {u"zien", P::kAnywhere},        {u"barrier", P::kAnywhere},   {u"daniel", P::kAnywhere},
    {u"familie", P::kAnywhere},     {u"gabriel", P::kAnywhere},   {u"karrier", P::kAnywhere},
    {u"medien", P::kAnywhere},      {u"premiere", P::kAnywhere},  {u"studien", P::kAnywhere}};
const Pattern kSchExceptions[] = {{u"sschen", P::kAfterLetterAtEnd}};
const Pattern kStExceptions[] = {
    {u"ste", P::kAfterLetterAtEnd}, {u"stag", P::kAfterLetter},   {u"stem", P::kAfterLetter},
    {u"sten", P::kAfterLetter},     {u"ster", P::kAfterLetter},   {u"stes", P::kAfterLetter},
    {u"stet", P::kAfterLetter},     {u"sthet", P::kAfterLetter},  {u"stig", P::kAfterLetter},
    {u"stik", P::kAfterLetter},     {u"stisch", P::kAfterLetter}, {u"strak", P::kAfterLetter},
    {u"strie", P::kAfterLetter},    {u"strumen", P::kAfterLetter}, {u"stung", P::kAfterLetter},
    {u"ungst", P::kAfterLetter}};

template <int N>
constexpr uint8_t Count(const Pattern (&)[N]) {
    return static_cast<uint8_t>(N);
}

}  // namespace

static_assert(IsSortedByChar(kSymbols, kSymbolCount), "German symbols must be sorted by character for bisection");

const LetterGroup kGroups[kGroupCount] = {
    {u"au", 0x21, nullptr, 0, nullptr, 0},
    {u"äu", 0x0C, kAeuExceptions, Count(kAeuExceptions), nullptr, 0},
    {u"eu", 0x23, kEuExceptions, Count(kEuExceptions), nullptr, 0},
    {u"ei", 0x29, kEiExceptions, Count(kEiExceptions), nullptr, 0},
    {u"ie", 0x2C, kIeExceptions, Count(kIeExceptions), kIeOverrides, Count(kIeOverrides)},
    {u"sch", 0x31, kSchExceptions, Count(kSchExceptions), nullptr, 0},
    {u"ch", 0x39, nullptr, 0, nullptr, 0},
    {u"st", 0x3E, kStExceptions, Count(kStExceptions), nullptr, 0},
};

}  // namespace german
}  // namespace kotari
