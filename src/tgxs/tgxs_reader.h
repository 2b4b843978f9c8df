// TGXS documents: a JSON file that describes a tactile document (title,
// language, language option, target device and a list of pages, each with a
// graphic part and a text part).
//
// TgxsReader takes a source (an http, https, ftp or file URL, or a plain path),
// fetches it into a private local copy, parses the copy and keeps the fields.
// Paths and file URLs (host empty, localhost or 127.0.0.1; query and fragment
// ignored) are read directly, and only when they name a regular file; http,
// https and ftp go through libcurl. URLs are traced without their user name
// and password.
// Nothing here throws and nothing here touches the source or any other file
// but the reader's own temporary copy, which the reader always removes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <json/value.h>

namespace velumi::tgxs {

// Bounds that keep memory and trace proportional to something sane whatever
// the document holds (also stated in VelumiSDK.h):
// - of "items", only the first kTgxsMaxItems elements are kept (the rest are
//   checked as JSON, counted and dropped), and of every kept item only its
//   known keys; values under unknown keys are checked and dropped;
// - nesting deeper than kTgxsMaxDepth levels makes the document invalid;
// - a parse traces at most kTgxsMaxTypeLines wrongly typed values one by one,
//   then one line with the count of the rest;
// - Dump writes the first kTgxsDumpItems items (three lines each), at most
//   kTgxsMaxDumpLines lines in all. A trace line is at most 1023 bytes (255
//   characters in the trace file), so a dump adds under 140 KB to the file.
constexpr size_t kTgxsMaxItems = 10000;
constexpr int kTgxsMaxDepth = 256;
constexpr int kTgxsMaxTypeLines = 32;
constexpr int kTgxsDumpItems = 64;
constexpr int kTgxsMaxDumpLines = 2 + 3 * kTgxsDumpItems + 1;

// The graphic part of a page: "graphic" {"name", "data"}.
struct TgxsGraphic {
    std::string name;
    std::string data;
};

// The text part of a page: "text" {"name", "data", "plain"}.
struct TgxsText {
    std::string name;
    std::string data;
    std::string plain;
};

// One element of "items". Missing or wrongly typed values read as empty / 0.
struct TgxsItem {
    int32_t page = 0;
    std::string title;
    TgxsGraphic graphic;
    TgxsText text;
};

// Bounds of one fetch. The defaults keep a dead or endless server from
// holding the caller and a huge document from exhausting memory.
struct TgxsFetchLimits {
    long connectTimeoutMs = 10000;  // to establish the connection
    long totalTimeoutMs = 120000;  // for the whole transfer
    long lowSpeedTimeS = 30;  // abort when below 1 byte/s for this long
    size_t maxBytes = 16u << 20;  // largest document accepted
};

// Why a reader holds no document (kOk: the document was read and parsed).
// clang-format off
enum class TgxsStatus {
    kOk,
    kNoSource,          // null or empty source
    kUnsupportedScheme, // a URL whose scheme is not http, https, ftp or file
    kLocalCopyFailed,   // the private temporary file could not be created
    kFetchFailed,       // download failed, or the path cannot be read
    kNotRegularFile,    // the path names a directory, device or pipe
    kTooLarge,          // larger than TgxsFetchLimits::maxBytes
    kInvalidJson,       // not JSON (also truncated JSON, or nesting too deep)
    kNotAnObject,       // valid JSON whose root is not an object
    kOutOfMemory,       // the document did not fit in memory
};
// clang-format on

const char *TgxsStatusText(TgxsStatus status);

class TgxsReader {
public:
    // An empty reader: no source, no document.
    TgxsReader();

    // Fetches `source` (UTF-8; null or empty gives an empty reader) into a
    // private temporary file, parses it and reads the fields. Every failure
    // leaves an empty reader and writes one "[ERROR]" trace line that says why.
    explicit TgxsReader(const char *source, const TgxsFetchLimits &limits = TgxsFetchLimits());

    // Removes the local copy.
    ~TgxsReader();

    TgxsReader(const TgxsReader &) = delete;
    TgxsReader &operator=(const TgxsReader &) = delete;

    // Parses a document held in memory (a UTF-8 byte-order mark is skipped),
    // replacing any earlier content; the constructor parses the local copy
    // through this. Returns true when the document was JSON with an object at
    // its root (wrongly typed values are then traced and read as missing).
    // root() then holds only what the reader reads (see the bounds above).
    bool Parse(const char *data, size_t size);

    // Writes the document as trace lines: the source, the four header
    // strings, the item count and, per item, its page, title and both parts.
    void Dump() const;

    TgxsStatus status() const { return status_; }

    // The source as given, and as UTF-16.
    const std::string &source() const { return source_; }
    const std::u16string &source16() const { return source16_; }
    // The source's last "/"-separated part (the whole source without "/").
    const std::string &fileName() const { return fileName_; }
    const std::u16string &fileName16() const { return fileName16_; }
    // Full path of the private local copy while the reader lives; empty when
    // none was made.
    const std::string &localName() const { return local_.name; }
    const std::u16string &localName16() const { return local_.name16; }

    const Json::Value &root() const { return root_; }
    const std::string &title() const { return title_; }
    const std::string &lang() const { return lang_; }
    const std::string &langOption() const { return langOption_; }
    const std::string &device() const { return device_; }

    // Items kept (at most kTgxsMaxItems), and elements of "items" in the document.
    int32_t itemCount() const { return static_cast<int32_t>(items_.size()); }
    size_t itemsInDocument() const { return itemsInDocument_; }
    // Items by index; `index` must be in [0, itemCount()).
    const TgxsItem &item(int32_t index) const { return items_[static_cast<size_t>(index)]; }
    int32_t page(int32_t index) const { return item(index).page; }
    const std::string &itemTitle(int32_t index) const { return item(index).title; }
    const TgxsGraphic &graphic(int32_t index) const { return item(index).graphic; }
    const TgxsText &text(int32_t index) const { return item(index).text; }

private:
    // The local copy's name; removes the file when it goes, also when the
    // constructor is left by an exception.
    struct LocalCopy {
        std::string name;
        std::u16string name16;
        LocalCopy() = default;
        LocalCopy(const LocalCopy &) = delete;
        LocalCopy &operator=(const LocalCopy &) = delete;
        ~LocalCopy();
    };

    void Clear();
    void Load(const TgxsFetchLimits &limits);

    TgxsStatus status_ = TgxsStatus::kNoSource;
    std::string source_;
    std::u16string source16_;
    std::string fileName_;
    std::u16string fileName16_;
    LocalCopy local_;
    Json::Value root_;
    std::string title_;
    std::string lang_;
    std::string langOption_;
    std::string device_;
    std::vector<TgxsItem> items_;
    size_t itemsInDocument_ = 0;
};

// All of VELUMI_GET_TGXS_DATA's work: reads the TGXS document at `path` (a
// UTF-8 URL or path; null is allowed), writes its dump as trace lines and
// releases the document and its local copy again. Traces "[OK]
// CVelumi::GetTgxsData()" on entry and "... successed" when a document was
// read, or an "[ERROR]" line that says why not. Always returns 0
// (NUBRA_ERROR_NONE), also when the document cannot be read; never throws.
// Needs no device object; safe to call from any thread at any time.
int GetTgxsData(const char *path) noexcept;

}  // namespace velumi::tgxs
