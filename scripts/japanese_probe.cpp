// Helper for scripts/japanese_agreement.py: translates Japanese through the
// engine and prints the analysis stream beside the cells.
//
// Reads lines "MODE HEX" from standard input, HEX being the UTF-8 text in hex.
// MODE "text": the whole translation (BrailleTranslator, language 9, no line
// width) and the analysis stream. MODE "kana": the text is taken as the
// analysis stream itself (kana with word spaces) and only emitted as cells.
// Prints "STREAMHEX CELLHEX" per line.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <mecab.h>
#include "KotariEngine.h"
#include "bench_support.h"
#include "core/engine.h"
#include "lang/japanese/jp_internal.h"

using namespace kotari::jp;

static std::string FromHex(const std::string &h) {
    std::string s;
    for (size_t i = 0; i + 1 < h.size(); i += 2) s += static_cast<char>(std::stoi(h.substr(i, 2), nullptr, 16));
    return s;
}

static std::string ToHex(const unsigned char *p, size_t n) {
    std::string s;
    char b[3];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(b, sizeof b, "%02x", p[i]);
        s += b;
    }
    return s.empty() ? "-" : s;
}

int main() {
    g_diagnostics = false;
    std::string mode, hex;
    while (std::cin >> mode >> hex) {
        std::string text = hex == "-" ? "" : FromHex(hex);
        char utf8[kTextBytes];
        CopyField(utf8, sizeof utf8, text.c_str());
        NormaliseInput(utf8);
        char stream[kStreamBytes] = {0};
        std::vector<unsigned char> cells;
        if (mode == "tokens") {
            std::string lines;
            mecab_t *tagger = mecab_new2("");
            const mecab_node_t *node = tagger ? mecab_sparse_tonode(tagger, utf8) : nullptr;
            for (; node; node = node->next) {
                if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
                MorphToken t;
                std::string line = std::string(node->surface, node->length) + "\t" + node->feature;
                if (!ParseMecabLine(line.c_str(), &t)) continue;
                std::string raw = t.pro;
                AdjustPronounce(t);
                lines += std::string(t.surface) + "\t" + raw + "\t" + (node->stat == MECAB_UNK_NODE ? "?" : "") +
                         "\t" + t.pro + "\n";
            }
            if (tagger) mecab_destroy(tagger);
            std::cout << ToHex(reinterpret_cast<const unsigned char *>(lines.data()), lines.size()) << " -"
                      << std::endl;
            continue;
        }
        if (mode == "kana") {
            std::strcpy(stream, utf8);
            unsigned char buf[kMaxCells] = {0};
            int n = EmitCells(stream, static_cast<int>(std::strlen(stream)), buf, kMaxCells);
            cells.assign(buf, buf + n);
        } else {
            jpanalyzer(utf8, stream, kStreamBytes);
            // The whole engine, as an application calls it.
            std::vector<uint16_t> u16 = bench_support::Utf16(text);
            TranslatorOptions o = kotari::DefaultOptions(9);
            std::vector<uint8_t> out(3 * KOTARI_CELL_BUFFER_SIZE);
            int n = BrailleTranslator(u16.data(), out.data(), &o);
            while (n > 0 && out[static_cast<size_t>(n - 1)] == 0) --n;
            cells.assign(out.begin(), out.begin() + n);
        }
        std::cout << ToHex(reinterpret_cast<unsigned char *>(stream), std::strlen(stream)) << ' '
                  << ToHex(cells.data(), cells.size()) << std::endl;
    }
    return 0;
}
