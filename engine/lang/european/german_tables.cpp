// German punctuation and symbols, and the grade 2 letter groups.
#include "lang/european/german_tables.h"

// Table data, laid out by hand; the rows of the larger tables are kept in data/<name>.tsv
// and written out at build time as <name>.inc (kotari_table_rows in engine/CMakeLists.txt).
// clang-format off
namespace kotari {
namespace german {

constexpr SymbolRecord kSymbols[kSymbolCount] = {
#include "german_symbols.inc"
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

}  // namespace

static_assert(IsSortedByChar(kSymbols, kSymbolCount), "German symbols must be sorted by character for bisection");

const LetterGroup kGroups[kGroupCount] = {
    {u"au", 0x21, nullptr, 0, nullptr, 0},
    {u"äu", 0x0C, kAeuExceptions, CountOf(kAeuExceptions), nullptr, 0},
    {u"eu", 0x23, kEuExceptions, CountOf(kEuExceptions), nullptr, 0},
    {u"ei", 0x29, kEiExceptions, CountOf(kEiExceptions), nullptr, 0},
    {u"ie", 0x2C, kIeExceptions, CountOf(kIeExceptions), kIeOverrides, CountOf(kIeOverrides)},
    {u"sch", 0x31, kSchExceptions, CountOf(kSchExceptions), nullptr, 0},
    {u"ch", 0x39, nullptr, 0, nullptr, 0},
    {u"st", 0x3E, kStExceptions, CountOf(kStExceptions), nullptr, 0},
};

}  // namespace german
}  // namespace kotari
