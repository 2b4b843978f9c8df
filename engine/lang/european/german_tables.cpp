// German punctuation and symbols, and the grade 2 letter groups.
#include "lang/european/german_tables.h"

namespace kotari {
namespace german {

constexpr SymbolRecord kSymbols[kSymbolCount] = {
    {u'!', {0x16}, 1},
    {u'#', {0x08, 0x3C}, 2},
    {u'$', {0x08, 0x19}, 2},
    {u'%', {0x3C, 0x1A, 0x34}, 3},
    {u'&', {0x10, 0x25}, 2},
    {u'\'', {0x20}, 1},
    {u'(', {0x36}, 1},
    {u')', {0x36}, 1},
    {u'*', {0x14}, 1},
    {u'+', {0x08, 0x16}, 2},
    {u',', {0x02}, 1},
    {u'-', {0x24}, 1},
    {u'.', {0x04}, 1},
    {u'/', {0x10, 0x02}, 2},
    {u':', {0x12}, 1},
    {u';', {0x06}, 1},
    {u'<', {0x08, 0x30}, 2},
    {u'=', {0x08, 0x36}, 2},
    {u'>', {0x08, 0x18}, 2},
    {u'?', {0x22}, 1},
    {u'@', {0x08, 0x1C}, 2},
    {u'[', {0x20, 0x36}, 2},
    {u'\\', {0x08, 0x0C}, 2},
    {u']', {0x20, 0x36}, 2},
    {u'_', {0x08, 0x38}, 2},
    {u'{', {0x30, 0x36}, 2},
    {u'|', {0x38, 0x07}, 2},
    {u'}', {0x30, 0x36}, 2},
    {u'~', {0x08, 0x2E}, 2},
    {u'\u00A2', {0x08, 0x09}, 2},        // cent
    {u'\u00A7', {0x2C, 0x3C}, 2},        // section
    {u'\u00AB', {0x26}, 1},              // left guillemet
    {u'\u00B0', {0x08, 0x34}, 2},        // degree
    {u'\u00B7', {0x38, 0x07}, 2},        // middle dot
    {u'\u00BB', {0x34}, 1},              // right guillemet
    {u'\u2013', {0x20, 0x24}, 2},        // en dash
    {u'\u2019', {0x20, 0x34}, 2},        // right single quote
    {u'\u201A', {0x20, 0x26}, 2},        // low single quote
    {u'\u201D', {0x34}, 1},              // right double quote
    {u'\u201E', {0x26}, 1},              // low double quote
    {u'\u2022', {0x38, 0x07}, 2},        // bullet
    {u'\u2026', {0x04, 0x04, 0x04}, 3},  // ellipsis
    {u'\u2030', {0x3C, 0x1A, 0x34, 0x34}, 4},  // per mille
    {u'\u2032', {0x08, 0x14}, 2},        // prime
    {u'\u2033', {0x08, 0x14, 0x14}, 3},  // double prime
    {u'\u20AC', {0x08, 0x11}, 2},        // euro
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
