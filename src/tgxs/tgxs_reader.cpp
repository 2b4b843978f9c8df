#include "tgxs/tgxs_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <new>

#include <curl/curl.h>
#include <json/reader.h>

#include "Log/nubra_log.h"
#include "platform/library.h"
#include "platform/utf.h"

namespace velumi::tgxs {

namespace {

constexpr const char *kReaderName = "TgxsReader::TgxsReader";
constexpr const char *kParseName = "TgxsReader::Parse";
constexpr const char *kExportName = "CVelumi::GetTgxsData";

// ---------------------------------------------------------------------------
// Sources

// The lower-case scheme of a "scheme://..." source (RFC 3986 scheme
// characters); empty for a plain path.
std::string SchemeOf(const std::string &source) {
    if (source.empty() || !std::isalpha(static_cast<unsigned char>(source[0]))) return std::string();
    size_t i = 0;
    while (i < source.size()) {
        unsigned char c = static_cast<unsigned char>(source[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') break;
        ++i;
    }
    if (source.compare(i, 3, "://") != 0) return std::string();
    std::string scheme = source.substr(0, i);
    for (char &c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return scheme;
}

// Percent-encodes the bytes that may not stand in a URL as they are (controls,
// blank, DEL and every byte of a non-ASCII UTF-8 sequence); escapes already
// present are kept. libcurl decodes them again for file URLs.
std::string EncodeUrl(const std::string &url) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (char ch : url) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

// The local path a file URL names ("file:///p" or "file://localhost/p",
// percent-escapes decoded); empty for another host.
std::string FileUrlPath(const std::string &url) {
    std::string rest = url.substr(std::strlen("file://"));
    if (rest.compare(0, 9, "localhost") == 0) rest.erase(0, 9);
    if (rest.empty() || rest[0] != '/') return std::string();
    std::string path;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && std::isxdigit(static_cast<unsigned char>(rest[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(rest[i + 2]))) {
            path += static_cast<char>(std::stoi(rest.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

// The part after the last "/" (not counting a "/" at the very end or at
// index 0), or the whole source when there is none.
std::string FileNameOf(const std::string &source) {
    if (source.size() < 3) return source;
    for (size_t i = source.size() - 2; i >= 1; --i)
        if (source[i] == '/') return source.substr(i + 1);
    return source;
}

// ---------------------------------------------------------------------------
// The private local copy

// Creates an empty file that only this user may read or write (mode 0600,
// unique name) in $TMPDIR, or in /tmp when that fails.
int CreateLocalCopy(std::string &path) {
    const char *env = std::getenv("TMPDIR");
    for (const char *dir : {env, "/tmp"}) {
        if (!dir || !*dir) continue;
        std::string name = std::string(dir) + "/velumi-tgxs-XXXXXX";
        int fd = mkostemp(&name[0], O_CLOEXEC);
        if (fd >= 0) {
            path = name;
            return fd;
        }
    }
    return -1;
}

bool WriteAll(int fd, const char *data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Reads at most `limit` bytes from the start of fd; true on success.
bool ReadBack(int fd, size_t limit, std::string &out) {
    out.clear();
    char buffer[65536];
    off_t offset = 0;
    while (out.size() < limit) {
        size_t want = std::min(sizeof buffer, limit - out.size());
        ssize_t n = ::pread(fd, buffer, want, offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        out.append(buffer, static_cast<size_t>(n));
        offset += n;
    }
    return true;
}

struct FetchResult {
    TgxsStatus status = TgxsStatus::kOk;
    std::string why;
};

// Copies the regular file at `path` into fd.
FetchResult CopyPath(const std::string &path, int fd, size_t maxBytes) {
    FetchResult r;
    // O_NONBLOCK: opening a pipe without a writer must not hang; it is then
    // refused as not a regular file.
    int in = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (in < 0) {
        r.status = TgxsStatus::kFetchFailed;
        r.why = std::strerror(errno);
        return r;
    }
    struct stat st;
    if (::fstat(in, &st) != 0) {
        r.status = TgxsStatus::kFetchFailed;
        r.why = std::strerror(errno);
    } else if (!S_ISREG(st.st_mode)) {
        r.status = TgxsStatus::kNotRegularFile;
        r.why = S_ISDIR(st.st_mode) ? "a directory" : "not a regular file";
    } else if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        r.status = TgxsStatus::kTooLarge;
        r.why = std::to_string(st.st_size) + " bytes";
    } else {
        char buffer[65536];
        size_t total = 0;
        for (;;) {
            ssize_t n = ::read(in, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                r.status = TgxsStatus::kFetchFailed;
                r.why = std::strerror(errno);
                break;
            }
            if (n == 0) break;
            total += static_cast<size_t>(n);
            if (total > maxBytes) {  // grew while being read
                r.status = TgxsStatus::kTooLarge;
                r.why = "more than " + std::to_string(maxBytes) + " bytes";
                break;
            }
            if (!WriteAll(fd, buffer, static_cast<size_t>(n))) {
                r.status = TgxsStatus::kFetchFailed;
                r.why = std::string("writing the local copy: ") + std::strerror(errno);
                break;
            }
        }
    }
    ::close(in);
    return r;
}

// libcurl, loaded when a URL is first fetched rather than linked: its many
// dependencies would otherwise be loaded and initialised with every program
// that uses the SDK. Its global state is set up once, on first use.
struct CurlApi {
    CURLcode (*globalInit)(long) = nullptr;
    const char *(*strerror)(CURLcode) = nullptr;
    CURL *(*init)() = nullptr;
    CURLcode (*setopt)(CURL *, CURLoption, ...) = nullptr;
    CURLcode (*perform)(CURL *) = nullptr;
    void (*cleanup)(CURL *) = nullptr;
    CURLcode initResult = CURLE_FAILED_INIT;
    std::string loadError;
};

const CurlApi &Curl() {
    static CurlApi api;
    static std::once_flag once;
    std::call_once(once, [] {
        static platform::Library library;
        if (!library.Open("libcurl.so.4", true)) {
            api.loadError = "libcurl.so.4 cannot be loaded: " + library.Error();
            return;
        }
        api.globalInit = reinterpret_cast<CURLcode (*)(long)>(library.Symbol("curl_global_init"));
        api.strerror = reinterpret_cast<const char *(*)(CURLcode)>(library.Symbol("curl_easy_strerror"));
        api.init = reinterpret_cast<CURL *(*)()>(library.Symbol("curl_easy_init"));
        api.setopt = reinterpret_cast<CURLcode (*)(CURL *, CURLoption, ...)>(library.Symbol("curl_easy_setopt"));
        api.perform = reinterpret_cast<CURLcode (*)(CURL *)>(library.Symbol("curl_easy_perform"));
        api.cleanup = reinterpret_cast<void (*)(CURL *)>(library.Symbol("curl_easy_cleanup"));
        if (!api.globalInit || !api.strerror || !api.init || !api.setopt || !api.perform || !api.cleanup) {
            api.loadError = "libcurl.so.4 lacks the easy interface";
            api.globalInit = nullptr;
            return;
        }
        api.initResult = api.globalInit(CURL_GLOBAL_DEFAULT);
    });
    return api;
}

struct CurlSink {
    int fd;
    size_t maxBytes;
    size_t written = 0;
    bool tooLarge = false;
    int writeError = 0;
};

size_t CurlWrite(char *data, size_t size, size_t count, void *user) {
    auto *sink = static_cast<CurlSink *>(user);
    size_t n = size * count;
    if (n > sink->maxBytes - sink->written) {
        sink->tooLarge = true;
        return 0;  // makes libcurl stop with CURLE_WRITE_ERROR
    }
    if (!WriteAll(sink->fd, data, n)) {
        sink->writeError = errno;
        return 0;
    }
    sink->written += n;
    return n;
}

// Downloads `url` (http, https, ftp or file) into fd.
FetchResult FetchUrl(const std::string &url, int fd, const TgxsFetchLimits &limits) {
    FetchResult r;
    const CurlApi &api = Curl();
    if (!api.globalInit) {
        r.status = TgxsStatus::kFetchFailed;
        r.why = api.loadError;
        return r;
    }
    if (api.initResult != CURLE_OK) {
        r.status = TgxsStatus::kFetchFailed;
        r.why = std::string("curl_global_init: ") + api.strerror(api.initResult);
        return r;
    }
    CURL *curl = api.init();
    if (!curl) {
        r.status = TgxsStatus::kFetchFailed;
        r.why = "curl_easy_init failed";
        return r;
    }
    const std::string encoded = EncodeUrl(url);
    char error[CURL_ERROR_SIZE] = "";
    CurlSink sink{fd, limits.maxBytes};
    api.setopt(curl, CURLOPT_URL, encoded.c_str());
    api.setopt(curl, CURLOPT_ERRORBUFFER, error);
    api.setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https,ftp,file");
    api.setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    api.setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    api.setopt(curl, CURLOPT_MAXREDIRS, 5L);
    api.setopt(curl, CURLOPT_FAILONERROR, 1L);
    api.setopt(curl, CURLOPT_NOSIGNAL, 1L);  // timeouts without SIGALRM: we run in the host's threads
    api.setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    api.setopt(curl, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
    api.setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    api.setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedTimeS);
    api.setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    api.setopt(curl, CURLOPT_WRITEFUNCTION, CurlWrite);
    api.setopt(curl, CURLOPT_WRITEDATA, &sink);
    CURLcode rc = api.perform(curl);
    if (sink.tooLarge || rc == CURLE_FILESIZE_EXCEEDED) {
        r.status = TgxsStatus::kTooLarge;
        r.why = "more than " + std::to_string(limits.maxBytes) + " bytes";
    } else if (sink.writeError != 0) {
        r.status = TgxsStatus::kFetchFailed;
        r.why = std::string("writing the local copy: ") + std::strerror(sink.writeError);
    } else if (rc != CURLE_OK) {
        r.status = TgxsStatus::kFetchFailed;
        r.why = error[0] ? error : api.strerror(rc);
    }
    api.cleanup(curl);
    return r;
}

// ---------------------------------------------------------------------------
// Reading values. jsoncpp throws on a wrong-typed access (asInt on a string,
// indexing a non-object), so every value is type-checked first; a value of
// the wrong type is traced and read as missing.

const Json::Value *Member(const Json::Value &object, const char *key) {
    if (!object.isObject()) return nullptr;
    const Json::Value *v = object.find(key, key + std::strlen(key));
    return (v && !v->isNull()) ? v : nullptr;
}

void WrongType(const std::string &where, const char *expected) {
    NubraLog("[ERROR] %s() \"%s\" is not %s - ignored", kParseName, where.c_str(), expected);
}

std::string ReadString(const Json::Value &object, const char *key, const std::string &where) {
    const Json::Value *v = Member(object, key);
    if (!v) return std::string();
    if (!v->isString()) {
        WrongType(where + key, "a string");
        return std::string();
    }
    return v->asString();
}

int32_t ReadInt(const Json::Value &object, const char *key, const std::string &where) {
    const Json::Value *v = Member(object, key);
    if (!v) return 0;
    if (!v->isInt()) {  // also refuses fractions and values beyond 32 bits
        WrongType(where + key, "a 32-bit integer");
        return 0;
    }
    return v->asInt();
}

// The object at `key`; null (and traced) when present but not an object.
const Json::Value *ReadObject(const Json::Value &object, const char *key, const std::string &where) {
    const Json::Value *v = Member(object, key);
    if (v && !v->isObject()) {
        WrongType(where + key, "an object");
        return nullptr;
    }
    return v;
}

TgxsItem ReadItem(const Json::Value &value, Json::ArrayIndex index) {
    TgxsItem item;
    const std::string where = "items[" + std::to_string(index) + "]";
    if (!value.isObject()) {
        if (!value.isNull()) WrongType(where, "an object");
        return item;
    }
    const std::string prefix = where + ".";
    item.page = ReadInt(value, "page", prefix);
    item.title = ReadString(value, "title", prefix);
    if (const Json::Value *g = ReadObject(value, "graphic", prefix)) {
        const std::string gp = prefix + "graphic.";
        item.graphic.name = ReadString(*g, "name", gp);
        item.graphic.data = ReadString(*g, "data", gp);
    }
    if (const Json::Value *t = ReadObject(value, "text", prefix)) {
        const std::string tp = prefix + "text.";
        item.text.name = ReadString(*t, "name", tp);
        item.text.data = ReadString(*t, "data", tp);
        item.text.plain = ReadString(*t, "plain", tp);
    }
    return item;
}

// The first of jsoncpp's error messages, on one line.
std::string FirstError(const Json::Reader &reader) {
    std::vector<Json::Reader::StructuredError> errors = reader.getStructuredErrors();
    if (errors.empty()) return "unknown error";
    std::string text = errors.front().message + " at byte " + std::to_string(errors.front().offset_start);
    for (char &c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

const char *TgxsStatusText(TgxsStatus status) {
    switch (status) {
    case TgxsStatus::kOk: return "ok";
    case TgxsStatus::kNoSource: return "no source";
    case TgxsStatus::kUnsupportedScheme: return "unsupported URL scheme";
    case TgxsStatus::kLocalCopyFailed: return "local copy failed";
    case TgxsStatus::kFetchFailed: return "fetch failed";
    case TgxsStatus::kNotRegularFile: return "not a regular file";
    case TgxsStatus::kTooLarge: return "document too large";
    case TgxsStatus::kInvalidJson: return "invalid JSON";
    case TgxsStatus::kNotAnObject: return "root is not an object";
    case TgxsStatus::kOutOfMemory: return "out of memory";
    }
    return "unknown";
}

TgxsReader::TgxsReader() = default;

TgxsReader::TgxsReader(const char *source, const TgxsFetchLimits &limits) {
    if (!source || !*source) {
        status_ = TgxsStatus::kNoSource;
        NubraLog("[ERROR] %s() no source given", kReaderName);
        return;
    }
    try {
        source_ = source;
        source16_ = platform::Utf8ToUtf16(source_);
        fileName_ = FileNameOf(source_);
        fileName16_ = platform::Utf8ToUtf16(fileName_);
        Load(limits);
    } catch (const std::exception &e) {
        Clear();
        status_ = dynamic_cast<const std::bad_alloc *>(&e) ? TgxsStatus::kOutOfMemory : TgxsStatus::kFetchFailed;
        NubraLog("[ERROR] %s() %s - %s", kReaderName, TgxsStatusText(status_), e.what());
    }
}

TgxsReader::~TgxsReader() = default;

TgxsReader::LocalCopy::~LocalCopy() {
    if (!name.empty()) ::unlink(name.c_str());
}

void TgxsReader::Load(const TgxsFetchLimits &limits) {
    const std::string scheme = SchemeOf(source_);
    if (!scheme.empty() && scheme != "http" && scheme != "https" && scheme != "ftp" && scheme != "file") {
        status_ = TgxsStatus::kUnsupportedScheme;
        NubraLog("[ERROR] %s() unsupported URL scheme - %s", kReaderName, source_.c_str());
        return;
    }
    struct Fd {
        int fd;
        ~Fd() {
            if (fd >= 0) ::close(fd);
        }
    } copy{CreateLocalCopy(local_.name)};
    const int fd = copy.fd;
    if (fd < 0) {
        status_ = TgxsStatus::kLocalCopyFailed;
        NubraLog("[ERROR] %s() cannot create the local copy - %s", kReaderName, std::strerror(errno));
        return;
    }
    local_.name16 = platform::Utf8ToUtf16(local_.name);

    FetchResult fetched;
    if (scheme.empty()) {
        fetched = CopyPath(source_, fd, limits.maxBytes);
    } else {
        // libcurl would block for good opening a pipe named by a file URL, and
        // reads a directory as an empty document: refuse both as a path is.
        struct stat st;
        const std::string path = scheme == "file" ? FileUrlPath(source_) : std::string();
        if (!path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            fetched.status = TgxsStatus::kNotRegularFile;
            fetched.why = S_ISDIR(st.st_mode) ? "a directory" : "not a regular file";
        } else {
            fetched = FetchUrl(source_, fd, limits);
        }
    }
    std::string text;
    if (fetched.status == TgxsStatus::kOk && !ReadBack(fd, limits.maxBytes, text)) {
        fetched.status = TgxsStatus::kFetchFailed;
        fetched.why = std::string("reading the local copy: ") + std::strerror(errno);
    }
    if (fetched.status != TgxsStatus::kOk) {
        status_ = fetched.status;
        NubraLog("[ERROR] %s() %s - %s: %s", kReaderName, TgxsStatusText(fetched.status), source_.c_str(),
                 fetched.why.c_str());
        return;
    }
    Parse(text.data(), text.size());
}

void TgxsReader::Clear() {
    root_ = Json::Value();
    title_.clear();
    lang_.clear();
    langOption_.clear();
    device_.clear();
    items_.clear();
}

bool TgxsReader::Parse(const char *data, size_t size) {
    Clear();
    if (!data) {
        data = "";
        size = 0;
    }
    try {
        Json::Reader reader;
        bool ok;
        try {
            ok = reader.parse(data, data + size, root_, true);
        } catch (const Json::Exception &e) {
            // The reader throws when nesting passes its depth limit.
            Clear();
            status_ = TgxsStatus::kInvalidJson;
            NubraLog("[ERROR] %s() invalid JSON - %s", kParseName, e.what());
            return false;
        }
        if (!ok) {
            Clear();  // the reader leaves a partial tree behind
            status_ = TgxsStatus::kInvalidJson;
            NubraLog("[ERROR] %s() invalid JSON - %s", kParseName, FirstError(reader).c_str());
            return false;
        }
        if (!root_.isObject()) {
            Clear();
            status_ = TgxsStatus::kNotAnObject;
            NubraLog("[ERROR] %s() the document is not a JSON object", kParseName);
            return false;
        }
        status_ = TgxsStatus::kOk;
        title_ = ReadString(root_, "title", "");
        lang_ = ReadString(root_, "lang", "");
        langOption_ = ReadString(root_, "lang_option", "");
        device_ = ReadString(root_, "device", "");
        if (const Json::Value *items = Member(root_, "items")) {
            if (!items->isArray()) {
                WrongType("items", "an array");
            } else {
                items_.reserve(items->size());
                for (Json::ArrayIndex i = 0; i < items->size(); ++i) items_.push_back(ReadItem((*items)[i], i));
            }
        }
        return true;
    } catch (const std::exception &e) {
        // Out of memory, or a jsoncpp access that the type checks should
        // have kept from throwing.
        Clear();
        status_ = dynamic_cast<const std::bad_alloc *>(&e) ? TgxsStatus::kOutOfMemory : TgxsStatus::kInvalidJson;
        NubraLog("[ERROR] %s() %s - %s", kParseName, TgxsStatusText(status_), e.what());
        return false;
    }
}

void TgxsReader::Dump() const {
    // The lock is taken per line, not for the whole dump: a long document must
    // not hold up the protocol threads.
    NubraLog("TGXS source : %s", source_.c_str());
    NubraLog("TGXS title(%s) lang(%s) lang_option(%s) device(%s) items(%d)", title_.c_str(), lang_.c_str(),
             langOption_.c_str(), device_.c_str(), itemCount());
    for (int32_t i = 0; i < itemCount(); ++i) {
        const TgxsItem &it = items_[static_cast<size_t>(i)];
        NubraLog("TGXS item[%d] page(%d) title(%s)", i, it.page, it.title.c_str());
        NubraLog("TGXS item[%d] graphic name(%s) data(%s)", i, it.graphic.name.c_str(), it.graphic.data.c_str());
        NubraLog("TGXS item[%d] text name(%s) plain(%s) data(%s)", i, it.text.name.c_str(), it.text.plain.c_str(),
                 it.text.data.c_str());
    }
}

int GetTgxsData(const char *path) noexcept {
    try {
        NubraLog("[OK] %s()", kExportName);
        TgxsReader reader(path);
        if (reader.status() != TgxsStatus::kOk) {
            NubraLog("[ERROR] %s() no document read - %s", kExportName, TgxsStatusText(reader.status()));
            return 0;
        }
        reader.Dump();
        NubraLog("[OK] %s() successed", kExportName);
    } catch (const std::exception &e) {
        // Out of memory on a huge document; the reader's destructor has removed the copy.
        NubraLog("[ERROR] %s() failed - %s", kExportName, e.what());
    } catch (...) {
        NubraLog("[ERROR] %s() failed", kExportName);
    }
    return 0;
}

}  // namespace velumi::tgxs
