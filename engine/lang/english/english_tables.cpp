// Constant tables of the English translator.
#include "lang/english/english_tables.h"

// Table data, laid out by hand or by its generator.
// clang-format off
namespace kotari {
namespace english {

namespace {

// Accent classes; each lists its capitals first, then the small letters.
// 0 stroke: ØŁȺȻøłⱥȼꭁ
const AccentEntry kClass0[] = {
    {0x00D8, {'o', 0}, 1},
    {0x0141, {'l', 0}, 1},
    {0x023A, {'a', 0}, 1},
    {0x023B, {'c', 0}, 1},
    {0x00F8, {'o', 0}, 1},
    {0x0142, {'l', 0}, 1},
    {0x2C65, {'a', 0}, 1},
    {0x023C, {'c', 0}, 1},
    {0xAB41, {'o', 'e'}, 2},
};
// 1 horizontal stroke: ĐĦŦƗƵǤɃɈđħŧɨƶǥƀɉꭂ
const AccentEntry kClass1[] = {
    {0x0110, {'d', 0}, 1},
    {0x0126, {'h', 0}, 1},
    {0x0166, {'t', 0}, 1},
    {0x0197, {'i', 0}, 1},
    {0x01B5, {'z', 0}, 1},
    {0x01E4, {'g', 0}, 1},
    {0x0243, {'b', 0}, 1},
    {0x0248, {'j', 0}, 1},
    {0x0111, {'d', 0}, 1},
    {0x0127, {'h', 0}, 1},
    {0x0167, {'t', 0}, 1},
    {0x0268, {'i', 0}, 1},
    {0x01B6, {'z', 0}, 1},
    {0x01E5, {'g', 0}, 1},
    {0x0180, {'b', 0}, 1},
    {0x0249, {'j', 0}, 1},
    {0xAB42, {'o', 'e'}, 2},
};
// 2 breve: ĂĔĞĬŎŬăĕğĭŏŭ
const AccentEntry kClass2[] = {
    {0x0102, {'a', 0}, 1},
    {0x0114, {'e', 0}, 1},
    {0x011E, {'g', 0}, 1},
    {0x012C, {'i', 0}, 1},
    {0x014E, {'o', 0}, 1},
    {0x016C, {'u', 0}, 1},
    {0x0103, {'a', 0}, 1},
    {0x0115, {'e', 0}, 1},
    {0x011F, {'g', 0}, 1},
    {0x012D, {'i', 0}, 1},
    {0x014F, {'o', 0}, 1},
    {0x016D, {'u', 0}, 1},
};
// 3 macron: ĀĒĪŌŪǢȲḠāēīōūǣȳḡ
const AccentEntry kClass3[] = {
    {0x0100, {'a', 0}, 1},
    {0x0112, {'e', 0}, 1},
    {0x012A, {'i', 0}, 1},
    {0x014C, {'o', 0}, 1},
    {0x016A, {'u', 0}, 1},
    {0x01E2, {'a', 'e'}, 2},
    {0x0232, {'y', 0}, 1},
    {0x1E20, {'g', 0}, 1},
    {0x0101, {'a', 0}, 1},
    {0x0113, {'e', 0}, 1},
    {0x012B, {'i', 0}, 1},
    {0x014D, {'o', 0}, 1},
    {0x016B, {'u', 0}, 1},
    {0x01E3, {'a', 'e'}, 2},
    {0x0233, {'y', 0}, 1},
    {0x1E21, {'g', 0}, 1},
};
// 4 cedilla: ÇĢĶĻŅŖŞŢȨḐḨçģķļņŗşţȩḑḩ
const AccentEntry kClass4[] = {
    {0x00C7, {'c', 0}, 1},
    {0x0122, {'g', 0}, 1},
    {0x0136, {'k', 0}, 1},
    {0x013B, {'l', 0}, 1},
    {0x0145, {'n', 0}, 1},
    {0x0156, {'r', 0}, 1},
    {0x015E, {'s', 0}, 1},
    {0x0162, {'t', 0}, 1},
    {0x0228, {'e', 0}, 1},
    {0x1E10, {'d', 0}, 1},
    {0x1E28, {'h', 0}, 1},
    {0x00E7, {'c', 0}, 1},
    {0x0123, {'g', 0}, 1},
    {0x0137, {'k', 0}, 1},
    {0x013C, {'l', 0}, 1},
    {0x0146, {'n', 0}, 1},
    {0x0157, {'r', 0}, 1},
    {0x015F, {'s', 0}, 1},
    {0x0163, {'t', 0}, 1},
    {0x0229, {'e', 0}, 1},
    {0x1E11, {'d', 0}, 1},
    {0x1E29, {'h', 0}, 1},
};
// 5 grave: ÀÈÌÒÙǸẀỲàèìòùǹẁỳ
const AccentEntry kClass5[] = {
    {0x00C0, {'a', 0}, 1},
    {0x00C8, {'e', 0}, 1},
    {0x00CC, {'i', 0}, 1},
    {0x00D2, {'o', 0}, 1},
    {0x00D9, {'u', 0}, 1},
    {0x01F8, {'n', 0}, 1},
    {0x1E80, {'w', 0}, 1},
    {0x1EF2, {'y', 0}, 1},
    {0x00E0, {'a', 0}, 1},
    {0x00E8, {'e', 0}, 1},
    {0x00EC, {'i', 0}, 1},
    {0x00F2, {'o', 0}, 1},
    {0x00F9, {'u', 0}, 1},
    {0x01F9, {'n', 0}, 1},
    {0x1E81, {'w', 0}, 1},
    {0x1EF3, {'y', 0}, 1},
};
// 6 circumflex: ÂÊÎÔÛĈĜĤĴŜŴŶẐâêîôûĉĝĥĵŝŵŷẑ
const AccentEntry kClass6[] = {
    {0x00C2, {'a', 0}, 1},
    {0x00CA, {'e', 0}, 1},
    {0x00CE, {'i', 0}, 1},
    {0x00D4, {'o', 0}, 1},
    {0x00DB, {'u', 0}, 1},
    {0x0108, {'c', 0}, 1},
    {0x011C, {'g', 0}, 1},
    {0x0124, {'h', 0}, 1},
    {0x0134, {'j', 0}, 1},
    {0x015C, {'s', 0}, 1},
    {0x0174, {'w', 0}, 1},
    {0x0176, {'y', 0}, 1},
    {0x1E90, {'z', 0}, 1},
    {0x00E2, {'a', 0}, 1},
    {0x00EA, {'e', 0}, 1},
    {0x00EE, {'i', 0}, 1},
    {0x00F4, {'o', 0}, 1},
    {0x00FB, {'u', 0}, 1},
    {0x0109, {'c', 0}, 1},
    {0x011D, {'g', 0}, 1},
    {0x0125, {'h', 0}, 1},
    {0x0135, {'j', 0}, 1},
    {0x015D, {'s', 0}, 1},
    {0x0175, {'w', 0}, 1},
    {0x0177, {'y', 0}, 1},
    {0x1E91, {'z', 0}, 1},
};
// 7 ring: ÅŮåůẘẙ
const AccentEntry kClass7[] = {
    {0x00C5, {'a', 0}, 1},
    {0x016E, {'u', 0}, 1},
    {0x00E5, {'a', 0}, 1},
    {0x016F, {'u', 0}, 1},
    {0x1E98, {'w', 0}, 1},
    {0x1E99, {'y', 0}, 1},
};
// 8 tilde: ÃÑÕĨŨṼẼỸãñõĩũṽẽỹ
const AccentEntry kClass8[] = {
    {0x00C3, {'a', 0}, 1},
    {0x00D1, {'n', 0}, 1},
    {0x00D5, {'o', 0}, 1},
    {0x0128, {'i', 0}, 1},
    {0x0168, {'u', 0}, 1},
    {0x1E7C, {'v', 0}, 1},
    {0x1EBC, {'e', 0}, 1},
    {0x1EF8, {'y', 0}, 1},
    {0x00E3, {'a', 0}, 1},
    {0x00F1, {'n', 0}, 1},
    {0x00F5, {'o', 0}, 1},
    {0x0129, {'i', 0}, 1},
    {0x0169, {'u', 0}, 1},
    {0x1E7D, {'v', 0}, 1},
    {0x1EBD, {'e', 0}, 1},
    {0x1EF9, {'y', 0}, 1},
};
// 9 diaeresis: ÄËÏÖÜŸḦẄẌäëïöüÿḧẅẍẗ
const AccentEntry kClass9[] = {
    {0x00C4, {'a', 0}, 1},
    {0x00CB, {'e', 0}, 1},
    {0x00CF, {'i', 0}, 1},
    {0x00D6, {'o', 0}, 1},
    {0x00DC, {'u', 0}, 1},
    {0x0178, {'y', 0}, 1},
    {0x1E26, {'h', 0}, 1},
    {0x1E84, {'w', 0}, 1},
    {0x1E8C, {'x', 0}, 1},
    {0x00E4, {'a', 0}, 1},
    {0x00EB, {'e', 0}, 1},
    {0x00EF, {'i', 0}, 1},
    {0x00F6, {'o', 0}, 1},
    {0x00FC, {'u', 0}, 1},
    {0x00FF, {'y', 0}, 1},
    {0x1E27, {'h', 0}, 1},
    {0x1E85, {'w', 0}, 1},
    {0x1E8D, {'x', 0}, 1},
    {0x1E97, {'t', 0}, 1},
};
// 10 acute: ÁÉÍÓÚÝĆĹŃŔŚŹǴǼḰḾṔẂáéíóúýćĺńŕśźǵǽḱḿṕẃ
const AccentEntry kClass10[] = {
    {0x00C1, {'a', 0}, 1},
    {0x00C9, {'e', 0}, 1},
    {0x00CD, {'i', 0}, 1},
    {0x00D3, {'o', 0}, 1},
    {0x00DA, {'u', 0}, 1},
    {0x00DD, {'y', 0}, 1},
    {0x0106, {'c', 0}, 1},
    {0x0139, {'l', 0}, 1},
    {0x0143, {'n', 0}, 1},
    {0x0154, {'r', 0}, 1},
    {0x015A, {'s', 0}, 1},
    {0x0179, {'z', 0}, 1},
    {0x01F4, {'g', 0}, 1},
    {0x01FC, {'a', 'e'}, 2},
    {0x1E30, {'k', 0}, 1},
    {0x1E3E, {'m', 0}, 1},
    {0x1E54, {'p', 0}, 1},
    {0x1E82, {'w', 0}, 1},
    {0x00E1, {'a', 0}, 1},
    {0x00E9, {'e', 0}, 1},
    {0x00ED, {'i', 0}, 1},
    {0x00F3, {'o', 0}, 1},
    {0x00FA, {'u', 0}, 1},
    {0x00FD, {'y', 0}, 1},
    {0x0107, {'c', 0}, 1},
    {0x013A, {'l', 0}, 1},
    {0x0144, {'n', 0}, 1},
    {0x0155, {'r', 0}, 1},
    {0x015B, {'s', 0}, 1},
    {0x017A, {'z', 0}, 1},
    {0x01F5, {'g', 0}, 1},
    {0x01FD, {'a', 'e'}, 2},
    {0x1E31, {'k', 0}, 1},
    {0x1E3F, {'m', 0}, 1},
    {0x1E55, {'p', 0}, 1},
    {0x1E83, {'w', 0}, 1},
};
// 11 caron: ČĎĚĽŇŘŠŤŽǍǏǑǓǦǨȞčďěľňřšťžǎǐǒǔǧǩǰȟ
const AccentEntry kClass11[] = {
    {0x010C, {'c', 0}, 1},
    {0x010E, {'d', 0}, 1},
    {0x011A, {'e', 0}, 1},
    {0x013D, {'l', 0}, 1},
    {0x0147, {'n', 0}, 1},
    {0x0158, {'r', 0}, 1},
    {0x0160, {'s', 0}, 1},
    {0x0164, {'t', 0}, 1},
    {0x017D, {'z', 0}, 1},
    {0x01CD, {'a', 0}, 1},
    {0x01CF, {'i', 0}, 1},
    {0x01D1, {'o', 0}, 1},
    {0x01D3, {'u', 0}, 1},
    {0x01E6, {'g', 0}, 1},
    {0x01E8, {'k', 0}, 1},
    {0x021E, {'h', 0}, 1},
    {0x010D, {'c', 0}, 1},
    {0x010F, {'d', 0}, 1},
    {0x011B, {'e', 0}, 1},
    {0x013E, {'l', 0}, 1},
    {0x0148, {'n', 0}, 1},
    {0x0159, {'r', 0}, 1},
    {0x0161, {'s', 0}, 1},
    {0x0165, {'t', 0}, 1},
    {0x017E, {'z', 0}, 1},
    {0x01CE, {'a', 0}, 1},
    {0x01D0, {'i', 0}, 1},
    {0x01D2, {'o', 0}, 1},
    {0x01D4, {'u', 0}, 1},
    {0x01E7, {'g', 0}, 1},
    {0x01E9, {'k', 0}, 1},
    {0x01F0, {'j', 0}, 1},
    {0x021F, {'h', 0}, 1},
};
// 12 ligatures: ÆŒæœ
const AccentEntry kClass12[] = {
    {0x00C6, {'a', 'e'}, 2},
    {0x0152, {'o', 'e'}, 2},
    {0x00E6, {'a', 'e'}, 2},
    {0x0153, {'o', 'e'}, 2},
};
// 13 old letters: ȜÞÐǷȝþðƿ
const AccentEntry kClass13[] = {
    {0x021C, {'y', 0}, 1},
    {0x00DE, {'t', 0}, 1},
    {0x00D0, {'d', 0}, 1},
    {0x01F7, {'w', 0}, 1},
    {0x021D, {'y', 0}, 1},
    {0x00FE, {'t', 0}, 1},
    {0x00F0, {'d', 0}, 1},
    {0x01BF, {'w', 0}, 1},
};

}  // namespace

const AccentClass kAccentClassTable[kAccentClassCount] = {
    {0, 9, {0x08, 0x21}, 2, 4, kClass0},
    {1, 17, {0x08, 0x12}, 2, 8, kClass1},
    {2, 12, {0x08, 0x2C}, 2, 6, kClass2},
    {3, 16, {0x08, 0x24}, 2, 8, kClass3},
    {4, 22, {0x18, 0x2F}, 2, 11, kClass4},
    {5, 16, {0x18, 0x21}, 2, 8, kClass5},
    {6, 26, {0x18, 0x29}, 2, 13, kClass6},
    {7, 6, {0x18, 0x2B}, 2, 2, kClass7},
    {8, 16, {0x18, 0x3B}, 2, 8, kClass8},
    {9, 19, {0x18, 0x12}, 2, 9, kClass9},
    {10, 36, {0x18, 0x0C}, 2, 18, kClass10},
    {11, 33, {0x18, 0x2C}, 2, 16, kClass11},
    {12, 4, {0x00, 0x00}, 0, 2, kClass12},
    {13, 8, {0x3C, 0x00}, 1, 4, kClass13},
};

// Capitals U+0391-U+03A9 (without U+03A2), then small letters U+03B1-U+03C9.
const GreekEntry kGreekTable[kGreekCount] = {
    {0x0391, {0x28, 0x01}},  // alpha
    {0x0392, {0x28, 0x03}},  // beta
    {0x0393, {0x28, 0x1B}},  // gamma
    {0x0394, {0x28, 0x19}},  // delta
    {0x0395, {0x28, 0x11}},  // epsilon
    {0x0396, {0x28, 0x35}},  // zeta
    {0x0397, {0x28, 0x31}},  // eta
    {0x0398, {0x28, 0x39}},  // theta
    {0x0399, {0x28, 0x0A}},  // iota
    {0x039A, {0x28, 0x05}},  // kappa
    {0x039B, {0x28, 0x07}},  // lamda
    {0x039C, {0x28, 0x0D}},  // mu
    {0x039D, {0x28, 0x1D}},  // nu
    {0x039E, {0x28, 0x2D}},  // xi
    {0x039F, {0x28, 0x15}},  // omicron
    {0x03A0, {0x28, 0x0F}},  // pi
    {0x03A1, {0x28, 0x17}},  // rho
    {0x03A3, {0x28, 0x0E}},  // sigma
    {0x03A4, {0x28, 0x1E}},  // tau
    {0x03A5, {0x28, 0x25}},  // upsilon
    {0x03A6, {0x28, 0x0B}},  // phi
    {0x03A7, {0x28, 0x2F}},  // chi
    {0x03A8, {0x28, 0x3D}},  // psi
    {0x03A9, {0x28, 0x3A}},  // omega
    {0x03B1, {0x28, 0x01}},  // alpha
    {0x03B2, {0x28, 0x03}},  // beta
    {0x03B3, {0x28, 0x1B}},  // gamma
    {0x03B4, {0x28, 0x19}},  // delta
    {0x03B5, {0x28, 0x11}},  // epsilon
    {0x03B6, {0x28, 0x35}},  // zeta
    {0x03B7, {0x28, 0x31}},  // eta
    {0x03B8, {0x28, 0x39}},  // theta
    {0x03B9, {0x28, 0x0A}},  // iota
    {0x03BA, {0x28, 0x05}},  // kappa
    {0x03BB, {0x28, 0x07}},  // lamda
    {0x03BC, {0x28, 0x0D}},  // mu
    {0x03BD, {0x28, 0x1D}},  // nu
    {0x03BE, {0x28, 0x2D}},  // xi
    {0x03BF, {0x28, 0x15}},  // omicron
    {0x03C0, {0x28, 0x0F}},  // pi
    {0x03C1, {0x28, 0x17}},  // rho
    {0x03C2, {0x28, 0x0E}},  // final sigma
    {0x03C3, {0x28, 0x0E}},  // sigma
    {0x03C4, {0x28, 0x1E}},  // tau
    {0x03C5, {0x28, 0x25}},  // upsilon
    {0x03C6, {0x28, 0x0B}},  // phi
    {0x03C7, {0x28, 0x2F}},  // chi
    {0x03C8, {0x28, 0x3D}},  // psi
    {0x03C9, {0x28, 0x3A}},  // omega
};

// Number sign, numerator digits, dots 3-4, denominator digits.
const FractionEntry kFractionTable[kFractionCount] = {
    {0x00BC, 4, {0x3C, 0x01, 0x0C, 0x19}},  // 1/4
    {0x00BD, 4, {0x3C, 0x01, 0x0C, 0x03}},  // 1/2
    {0x00BE, 4, {0x3C, 0x09, 0x0C, 0x19}},  // 3/4
    {0x2150, 4, {0x3C, 0x01, 0x0C, 0x1B}},  // 1/7
    {0x2151, 4, {0x3C, 0x01, 0x0C, 0x0A}},  // 1/9
    {0x2152, 5, {0x3C, 0x01, 0x0C, 0x01, 0x1A}},  // 1/10
    {0x2153, 4, {0x3C, 0x01, 0x0C, 0x09}},  // 1/3
    {0x2154, 4, {0x3C, 0x03, 0x0C, 0x09}},  // 2/3
    {0x2155, 4, {0x3C, 0x01, 0x0C, 0x11}},  // 1/5
    {0x2156, 4, {0x3C, 0x03, 0x0C, 0x11}},  // 2/5
    {0x2157, 4, {0x3C, 0x09, 0x0C, 0x11}},  // 3/5
    {0x2158, 4, {0x3C, 0x19, 0x0C, 0x11}},  // 4/5
    {0x2159, 4, {0x3C, 0x01, 0x0C, 0x0B}},  // 1/6
    {0x215A, 4, {0x3C, 0x11, 0x0C, 0x0B}},  // 5/6
    {0x215B, 4, {0x3C, 0x01, 0x0C, 0x13}},  // 1/8
    {0x215C, 4, {0x3C, 0x09, 0x0C, 0x13}},  // 3/8
    {0x215D, 4, {0x3C, 0x11, 0x0C, 0x13}},  // 5/8
    {0x215E, 4, {0x3C, 0x1B, 0x0C, 0x13}},  // 7/8
    {0x2189, 4, {0x3C, 0x1A, 0x0C, 0x09}},  // 0/3
};

// Searched in order; the first match wins (so index 85 is never reached).
const SymbolEntry kSymbolTable[kSymbolCount] = {
#include "english_symbols.inc"
};

const char16_t kOpeningSet[kOpeningCount] = {0,      u' ',    u'-',    0x2013, 0x2014, u'"',   0x201C,
                                             0x2018, 0x00AB, u'(',    u'[',   u'{',   0x2329};
const char16_t kClosingSet[kClosingCount] = {0,      u' ',   u')',   u']',   u'}',   0x232A, u',',
                                             u';',   u':',   u'.',   0x2026, u'!',   u'?',   u'-',
                                             0x2013, 0x2014, 0x201D, 0x2019, 0x00BB, u'"'};

const ShortText kApostropheEndings[kApostropheEndingCount] = {{"d", 1},  {"ll", 2}, {"re", 2},
                                                             {"s", 1},  {"t", 1},  {"ve", 2}};

// Letter sequences that spell a shortform and need a grade 1 indicator alone.
const ShortText kLetterSequenceList[kLetterSequenceCount] = {
{"ab", 2}, {"abv", 3}, {"ac", 2}, {"acr", 3}, {"af", 2}, {"afn", 3}, {"afw", 3}, {"ag", 2}, {"al", 2}, {"alm", 3}, {"alr", 3}, {"alt", 3}, {"alw", 3}, {"bl", 2}, {"brl", 3}, {"cd", 2}, {"dcl", 3}, {"dclg", 4}, {"dcv", 3}, {"dcvg", 4}, {"ei", 2}, {"fr", 2}, {"gd", 2}, {"grt", 3}, {"hm", 2}, {"hmf", 3}, {"imm", 3}, {"ll", 2}, {"lr", 2}, {"myf", 3}, {"nec", 3}, {"nei", 3}, {"pd", 2}, {"qk", 2}, {"rcv", 3}, {"rcvg", 4}, {"rjc", 3}, {"rjcg", 4}, {"sd", 2}, {"td", 2}, {"tgr", 3}, {"tm", 2}, {"tn", 2}, {"xf", 2}, {"xs", 2}, {"yr", 2}, {"yrf", 3}, {"yrvs", 4}, {"wd", 2}};

const WordsignEntry kWordsignTable[kWordsignCount] = {
#include "english_wordsigns.inc"
};

// In priority order: the first groupsign that matches and is allowed wins.
const GroupsignEntry kGroupsignTable[kGroupsignCount] = {
    {"braille", 7, 3, {0x03, 0x17, 0x07}},  // 0
    {"great", 5, 3, {0x1B, 0x17, 0x1E}},  // 1
    {"children", 8, 2, {0x21, 0x1D}},  // 2
    {"blind", 5, 2, {0x03, 0x07}},  // 3
    {"first", 5, 2, {0x0B, 0x0C}},  // 4
    {"friend", 6, 2, {0x0B, 0x17}},  // 5
    {"good", 4, 2, {0x1B, 0x19}},  // 6
    {"letter", 6, 2, {0x07, 0x17}},  // 7
    {"little", 6, 2, {0x07, 0x07}},  // 8
    {"quick", 5, 2, {0x1F, 0x05}},  // 9
    {"and", 3, 1, {0x2F}},  // 10
    {"for", 3, 1, {0x3F}},  // 11
    {"of", 2, 1, {0x37}},  // 12
    {"the", 3, 1, {0x2E}},  // 13
    {"with", 4, 1, {0x3E}},  // 14
    {"ch", 2, 1, {0x21}},  // 15
    {"sh", 2, 1, {0x29}},  // 16
    {"th", 2, 1, {0x39}},  // 17
    {"wh", 2, 1, {0x31}},  // 18
    {"ou", 2, 1, {0x33}},  // 19
    {"st", 2, 1, {0x0C}},  // 20
    {"ing", 3, 1, {0x2C}},  // 21
    {"gh", 2, 1, {0x23}},  // 22
    {"ed", 2, 1, {0x2B}},  // 23
    {"er", 2, 1, {0x3B}},  // 24
    {"ow", 2, 1, {0x2A}},  // 25
    {"ar", 2, 1, {0x1C}},  // 26
    {"be", 2, 1, {0x06}},  // 27
    {"con", 3, 1, {0x12}},  // 28
    {"dis", 3, 1, {0x32}},  // 29
    {"ea", 2, 1, {0x02}},  // 30
    {"bb", 2, 1, {0x06}},  // 31
    {"cc", 2, 1, {0x12}},  // 32
    {"ff", 2, 1, {0x16}},  // 33
    {"gg", 2, 1, {0x36}},  // 34
    {"en", 2, 1, {0x22}},  // 35
    {"in", 2, 1, {0x14}},  // 36
    {"upon", 4, 2, {0x18, 0x25}},  // 37
    {"these", 5, 2, {0x18, 0x2E}},  // 38
    {"those", 5, 2, {0x18, 0x39}},  // 39
    {"whose", 5, 2, {0x18, 0x31}},  // 40
    {"word", 4, 2, {0x18, 0x3A}},  // 41
    {"cannot", 6, 2, {0x38, 0x09}},  // 42
    {"had", 3, 2, {0x38, 0x13}},  // 43
    {"many", 4, 2, {0x38, 0x0D}},  // 44
    {"spirit", 6, 2, {0x38, 0x0E}},  // 45
    {"their", 5, 2, {0x38, 0x2E}},  // 46
    {"world", 5, 2, {0x38, 0x3A}},  // 47
    {"day", 3, 2, {0x10, 0x19}},  // 48
    {"ever", 4, 2, {0x10, 0x11}},  // 49
    {"father", 6, 2, {0x10, 0x0B}},  // 50
    {"here", 4, 2, {0x10, 0x13}},  // 51
    {"know", 4, 2, {0x10, 0x05}},  // 52
    {"lord", 4, 2, {0x10, 0x07}},  // 53
    {"mother", 6, 2, {0x10, 0x0D}},  // 54
    {"name", 4, 2, {0x10, 0x1D}},  // 55
    {"one", 3, 2, {0x10, 0x15}},  // 56
    {"part", 4, 2, {0x10, 0x0F}},  // 57
    {"question", 8, 2, {0x10, 0x1F}},  // 58
    {"right", 5, 2, {0x10, 0x17}},  // 59
    {"some", 4, 2, {0x10, 0x0E}},  // 60
    {"time", 4, 2, {0x10, 0x1E}},  // 61
    {"under", 5, 2, {0x10, 0x25}},  // 62
    {"young", 5, 2, {0x10, 0x3D}},  // 63
    {"there", 5, 2, {0x10, 0x2E}},  // 64
    {"character", 9, 2, {0x10, 0x21}},  // 65
    {"through", 7, 2, {0x10, 0x39}},  // 66
    {"where", 5, 2, {0x10, 0x31}},  // 67
    {"ought", 5, 2, {0x10, 0x33}},  // 68
    {"work", 4, 2, {0x10, 0x3A}},  // 69
    {"ound", 4, 2, {0x28, 0x19}},  // 70
    {"ance", 4, 2, {0x28, 0x11}},  // 71
    {"sion", 4, 2, {0x28, 0x1D}},  // 72
    {"less", 4, 2, {0x28, 0x0E}},  // 73
    {"ount", 4, 2, {0x28, 0x1E}},  // 74
    {"ence", 4, 2, {0x30, 0x11}},  // 75
    {"ong", 3, 2, {0x30, 0x1B}},  // 76
    {"ful", 3, 2, {0x30, 0x07}},  // 77
    {"tion", 4, 2, {0x30, 0x1D}},  // 78
    {"ness", 4, 2, {0x30, 0x0E}},  // 79
    {"ment", 4, 2, {0x30, 0x1E}},  // 80
    {"ity", 3, 2, {0x30, 0x3D}},  // 81
};

const ConflictRule kGroupsignConflictTable[kConflictRuleCount] = {
    {kG_of, {{kG_for, {kG_right}, 0, 1}, {kG_father, {kG_there}, 0, 4}}, 1},
    {kG_the, {{kG_ence, {kG_en, kG_ever, kG_ence}, 0, 1}}, 1},
    {kG_the, {{kG_these, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}, {kG_their, {kG_right}, 0, 1}, {kG_there, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}}, 3},
    {kG_ch, {{kG_character, {}, 0, 255}}, 2},
    {kG_th, {{kG_the, {kG_ence}, 0, 1}, {kG_the, {kG_these, kG_their, kG_there}, 0, 3}, {kG_these, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}, {kG_those, {kG_ence}, 0, 1}, {kG_their, {kG_right}, 0, 1}, {kG_there, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}, {kG_through, {}, 0, 255}}, 2},
    {kG_wh, {{kG_whose, {kG_ence}, 0, 1}, {kG_where, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}}, 2},
    {kG_ou, {{kG_upon, {kG_name, kG_ness}, 0, 1}, {kG_upon, {kG_one, kG_ong}, 0, 2}, {kG_under, {}, 0, 255}}, 1},
    {kG_ou, {{kG_ought, {kG_the, kG_th, kG_these, kG_those, kG_their, kG_time, kG_there, kG_through, kG_tion}, 0, 1}, {kG_ound, {}, 0, 255}, {kG_ount, {kG_the, kG_th, kG_these, kG_those, kG_their, kG_time, kG_there, kG_through, kG_tion}, 0, 1}}, 2},
    {kG_st, {{kG_the, {kG_ence}, 0, 1}, {kG_the, {kG_here}, 0, 2}, {kG_the, {kG_these, kG_in, kG_there}, 0, 3}, {kG_these, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}, {kG_those, {kG_ence}, 0, 1}, {kG_their, {kG_right}, 0, 1}, {kG_time, {kG_ed, kG_er, kG_ea, kG_en, kG_ence}, 0, 1}, {kG_time, {kG_ment}, 0, 2}, {kG_through, {}, 0, 255}, {kG_tion, {kG_name, kG_ness}, 0, 1}, {kG_tion, {kG_one, kG_ong}, 0, 2}}, 1},
    {kG_ing, {{kG_great, {kG_the, kG_th, kG_these, kG_those, kG_their, kG_time, kG_there, kG_through, kG_tion}, 0, 1}}, 1},
    {kG_er, {{kG_right, {kG_the, kG_th, kG_these, kG_those, kG_their, kG_time, kG_there, kG_through, kG_tion}, 0, 1}}, 1},
    {kG_ow, {{kG_with, {kG_these, kG_those, kG_their, kG_through}, 0, 2}, {kG_whose, {kG_ence}, 0, 1}, {kG_word, {kG_dis, kG_day}, 0, 1}, {kG_world, {kG_dis}, 0, 1}, {kG_work, {kG_know}, 0, 1}}, 1},
    {kG_ar, {{kG_right, {kG_the, kG_th, kG_these, kG_those, kG_their, kG_time, kG_there, kG_through, kG_tion}, 0, 1}}, 1},
    {kG_be, {{kG_ed, {kG_dis, kG_day}, 0, 1}, {kG_er, {kG_right}, 0, 1}, {kG_ence, {kG_en, kG_ever, kG_ence}, 0, 1}}, 1},
    {kG_dis, {{kG_spirit, {kG_the, kG_these, kG_those, kG_their, kG_time, kG_through, kG_tion}, 0, 1}}, 1},
    {kG_ea, {{kG_and, {kG_dis}, 0, 1}, {kG_ar, {kG_right}, 0, 1}, {kG_ance, {kG_ed, kG_er, kG_ea, kG_en, kG_ence}, 0, 1}}, 1},
    {kG_cc, {{kG_ch, {kG_had, kG_here}, 0, 1}, {kG_ch, {kG_children, kG_character}, 0, 2}, {kG_cannot, {kG_these, kG_those, kG_their}, 0, 1}, {kG_character, {}, 0, 255}}, 1},
    {kG_ff, {{kG_for, {kG_right}, 0, 1}, {kG_father, {kG_right}, 0, 1}}, 1},
    {kG_gg, {{kG_great, {}, 0, 255}, {kG_gh, {kG_had, kG_here}, 0, 1}}, 1},
    {kG_en, {{kG_name, {kG_ed, kG_er, kG_ea, kG_en, kG_ence}, 0, 1}, {kG_name, {kG_ment}, 0, 2}, {kG_ness, {kG_sh, kG_st, kG_spirit, kG_some, kG_sion}, 0, 1}}, 1},
    {kG_en, {{kG_ence, {kG_en, kG_ence}, 0, 1}}, 2},
    {kG_in, {{kG_name, {kG_ed, kG_er, kG_ea, kG_en, kG_ence}, 0, 1}, {kG_name, {kG_ment}, 0, 2}, {kG_ness, {kG_sh, kG_st, kG_spirit, kG_some, kG_sion}, 0, 1}}, 1},
    {kG_in, {{kG_ing, {kG_great, kG_good}, 0, 1}}, 2},
    {kG_these, {{kG_ed, {kG_dis, kG_day}, 0, 1}, {kG_er, {kG_right}, 0, 1}, {kG_ea, {kG_and, kG_ar, kG_ance}, 0, 1}, {kG_en, {kG_name, kG_ness}, 0, 1}, {kG_ever, {kG_right}, 0, 1}, {kG_ence, {kG_en, kG_ence}, 0, 1}}, 1},
    {kG_those, {{kG_ence, {kG_en, kG_ence}, 0, 1}}, 1},
    {kG_whose, {{kG_ence, {kG_en, kG_ence}, 0, 1}}, 1},
    {kG_their, {{kG_right, {kG_the, kG_these, kG_those, kG_their, kG_time, kG_through, kG_tion}, 0, 1}}, 1},
    {kG_day, {{kG_young, {kG_great, kG_good, kG_gh, kG_gg}, 0, 1}}, 1},
    {kG_father, {{kG_right, {kG_the, kG_th, kG_these, kG_those, kG_their, kG_time, kG_there, kG_through, kG_tion}, 0, 1}}, 1},
    {kG_here, {{kG_ed, {kG_dis, kG_day}, 0, 1}, {kG_er, {kG_right}, 0, 1}, {kG_ea, {kG_and, kG_ar, kG_ance}, 0, 1}, {kG_en, {kG_name, kG_ness, kG_ence}, 0, 1}, {kG_ence, {kG_ence}, 0, 1}}, 1},
    {kG_know, {{kG_with, {kG_these, kG_those, kG_their, kG_through}, 0, 1}, {kG_whose, {kG_ence}, 0, 1}, {kG_world, {kG_dis}, 0, 1}}, 1},
    {kG_mother, {{kG_right, {kG_the, kG_these, kG_those, kG_their, kG_time, kG_through, kG_tion}, 0, 1}}, 1},
    {kG_one, {{kG_ed, {kG_dis, kG_day}, 0, 1}, {kG_er, {kG_right}, 0, 1}, {kG_ea, {kG_and, kG_ar, kG_ance}, 0, 1}, {kG_en, {kG_name, kG_ness}, 0, 1}, {kG_en, {kG_ence}, 0, 2}, {kG_ence, {kG_en, kG_ence}, 0, 1}}, 1},
    {kG_one, {{kG_ness, {kG_sh, kG_st, kG_spirit, kG_some, kG_sion}, 0, 1}}, 2},
    {kG_part, {{kG_the, {kG_ence}, 0, 1}, {kG_the, {kG_these, kG_their, kG_there}, 0, 3}, {kG_th, {kG_the, kG_these, kG_those, kG_their, kG_there, kG_through}, 0, 2}, {kG_these, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}, {kG_those, {kG_ence}, 0, 1}, {kG_their, {kG_work}, 0, 1}, {kG_time, {}, 0, 255}, {kG_there, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}, {kG_through, {}, 0, 255}, {kG_tion, {}, 0, 255}}, 1},
    {kG_right, {{kG_the, {kG_ence}, 0, 1}, {kG_the, {kG_these, kG_their, kG_there}, 0, 3}, {kG_these, {kG_ence}, 0, 1}, {kG_those, {kG_ence}, 0, 1}, {kG_their, {kG_right}, 0, 1}, {kG_time, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}, {kG_time, {kG_ment}, 0, 2}, {kG_through, {}, 0, 255}, {kG_tion, {kG_name, kG_ness}, 0, 1}, {kG_tion, {kG_one, kG_ong}, 0, 2}}, 1},
    {kG_young, {{kG_great, {kG_the, kG_th, kG_time, kG_there, kG_tion}, 0, 1}}, 1},
    {kG_there, {{kG_ed, {kG_dis, kG_day}, 0, 1}, {kG_er, {kG_right}, 0, 1}, {kG_ea, {kG_and, kG_ar, kG_ance}, 0, 1}, {kG_en, {kG_name, kG_ness}, 0, 1}, {kG_ever, {kG_right}, 0, 1}, {kG_ence, {kG_ence}, 0, 1}}, 1},
    {kG_where, {{kG_ed, {kG_dis, kG_day}, 0, 1}, {kG_er, {kG_right}, 0, 1}, {kG_ea, {kG_and, kG_ar, kG_ance}, 0, 1}, {kG_en, {kG_name, kG_ness}, 0, 1}, {kG_en, {kG_ence}, 0, 2}, {kG_ever, {kG_right}, 0, 1}, {kG_ence, {kG_ed, kG_er, kG_ence}, 0, 1}}, 1},
    {kG_ought, {{kG_the, {kG_ence}, 0, 1}, {kG_the, {kG_here}, 0, 2}, {kG_the, {kG_these, kG_their, kG_there}, 0, 3}, {kG_th, {kG_had, kG_here}, 0, 1}, {kG_th, {kG_the, kG_these, kG_those, kG_their, kG_there, kG_through}, 0, 2}, {kG_these, {}, 0, 255}, {kG_those, {}, 0, 255}, {kG_their, {}, 0, 255}, {kG_time, {kG_ence}, 0, 1}, {kG_time, {kG_ment}, 0, 2}, {kG_there, {kG_ence}, 0, 1}, {kG_through, {}, 0, 255}}, 1},
    {kG_ound, {{kG_day, {kG_young}, 0, 1}}, 1},
    {kG_letter, {{kG_spirit, {kG_the, kG_these, kG_those, kG_their, kG_through}, 0, 1}}, 1},
    {kG_ount, {{kG_the, {kG_ence}, 0, 1}, {kG_the, {kG_these, kG_their, kG_there}, 0, 3}, {kG_th, {kG_had, kG_here}, 0, 1}, {kG_th, {kG_the, kG_these, kG_those, kG_their, kG_through}, 0, 2}, {kG_these, {}, 0, 255}, {kG_those, {}, 0, 255}, {kG_their, {kG_right}, 0, 1}, {kG_time, {kG_ence}, 0, 1}, {kG_time, {kG_ment}, 0, 2}, {kG_there, {kG_ence}, 0, 1}, {kG_through, {}, 0, 255}, {kG_tion, {kG_name, kG_ness}, 0, 1}}, 1},
    {kG_ence, {{kG_en, {kG_name, kG_ness}, 0, 1}}, 1},
    {kG_ong, {{kG_great, {kG_the, kG_th, kG_these, kG_those, kG_their, kG_time, kG_there, kG_through, kG_tion}, 0, 1}, {kG_gh, {kG_had, kG_here}, 0, 1}, {kG_gg, {kG_great, kG_good, kG_gh, kG_gg}, 0, 1}}, 1},
    {kG_ful, {{kG_lord, {kG_dis}, 0, 1}, {kG_less, {kG_sh, kG_st, kG_spirit, kG_some, kG_sion}, 0, 1}}, 1},
    {kG_ness, {{kG_spirit, {kG_the, kG_these, kG_those, kG_their, kG_through}, 0, 1}}, 1},
    {kG_little, {{kG_the, {kG_ence}, 0, 1}, {kG_the, {kG_here}, 0, 2}, {kG_the, {kG_these, kG_their, kG_there}, 0, 3}, {kG_th, {kG_had, kG_here}, 0, 1}, {kG_th, {kG_the, kG_these, kG_those, kG_their, kG_there, kG_through}, 0, 2}, {kG_these, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}, {kG_those, {kG_ence}, 0, 1}, {kG_their, {kG_right}, 0, 1}, {kG_time, {kG_ence}, 0, 1}, {kG_time, {kG_ment}, 0, 2}, {kG_there, {kG_ed, kG_er, kG_ea, kG_en, kG_ever, kG_ence}, 0, 1}, {kG_through, {}, 0, 255}}, 1},
    {kG_little, {{kG_young, {kG_great, kG_good, kG_gh, kG_friend}, 0, 1}}, 1},
};

const FirstWordRecord kFirstWordList[kFirstWordCount] = {
    {"but", "but", 3},
    {"can", "can", 3},
    {"do", "do", 2},
    {"every", "/ever/y", 5},
    {"from", "from", 4},
    {"go", "go", 2},
    {"have", "have", 4},
    {"just", "ju/st/", 4},
    {"knowledge", "/know/l/ed/ge", 9},
    {"like", "like", 4},
    {"more", "more", 4},
    {"not", "not", 3},
    {"people", "people", 6},
    {"quite", "quite", 5},
    {"rather", "ra/the/r", 6},
    {"so", "so", 2},
    {"that", "/th/at", 4},
    {"us", "us", 2},
    {"very", "v/er/y", 4},
    {"will", "will", 4},
    {"it", "it", 2},
    {"you", "y/ou/", 3},
    {"as", "as", 2},
    {"be", "be", 2},
    {"enough", "/en//ou//gh/", 6},
    {"his", "his", 3},
    {"in", "in", 2},
    {"was", "was", 3},
    {"were", "w/er/e", 4},
};

const PrefixEntry kComputerTextPrefixes[kComputerPrefixCount] = {
    {u"www.", 4},
    {u"http://", 7},
    {u"https://", 8},
};

}  // namespace english
}  // namespace kotari
