// Graphics display: the job list, the four graphics operations, the "_tgx_"
// file, the changed-lines rule and the picture dump.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "Log/nubra_log.h"
#include "device/velumi.h"
#include "platform/files.h"
#include "platform/shared_lock.h"
#include "protocol/ccom.h"

namespace velumi {

namespace {
constexpr int kTgxHeader = 30;
constexpr char kTgxSignature[] = "_tgx_";

void LogCaution(const char *operation) {
    NubraLog("%s", "");
    NubraLog("[CAUTION] NUBRA_ERROR_DISPLAY_IN_PROGRESS in %s()", operation);
}
}  // namespace

DisplayJob *CVelumi::DisplayDataCreate() {
    platform::SharedLockGuard lock;
    lastError_ = 0;
    // Reserved here, under the lock: a page key cannot slip in between this
    // job and its transfer.
    if (!CCOM::Instance().ReserveDisplay()) {
        LogCaution("CVelumi::DisplayDataCreate");
        lastError_ = NUBRA_ERROR_DISPLAY_IN_PROGRESS;
        return nullptr;
    }
    if (!jobs_.empty()) {
        jobs_.erase(jobs_.begin());
        NubraLog("[OK] Delete Braille Data");
    }
    DisplayJob *job = new (std::nothrow) DisplayJob;
    if (!job) {
        CCOM::Instance().ReleaseDisplay();
        lastError_ = NUBRA_ERROR_ACCESS_INVALID_MEM;
        NubraLog("[ERROR] NUBRA_ERROR_ACCESS_INVALID_MEM in %s()", "CVelumi::DisplayDataCreate");
        return nullptr;
    }
    job->requestCode = kRequestDisplay;
    job->retriesLeft = static_cast<uint8_t>(retryCount_);
    job->retryDelay = static_cast<uint8_t>(retryDelayMs_);
    jobs_.emplace_back(job);
    NubraLog("[OK] Add Braille Data");
    return job;
}

DisplayJob *CVelumi::BeginJob(const char *logName, JobKind kind, int &result, const std::function<int()> &checks) {
    if (!ready_) {
        result = NUBRA_ERROR_COM_NOT_OPENED;
        return nullptr;
    }
    NubraLog("[OK] %s()", logName);
    if (checks && (result = checks()) != 0) return nullptr;
    if (OnSdkThread()) {
        // Its answer would have to come through the thread running the callback.
        NubraLog("[ERROR] NUBRA_ERROR_COM_RESPONSE_TIMEOUT in %s() - called from a callback", logName);
        result = NUBRA_ERROR_COM_RESPONSE_TIMEOUT;
        return nullptr;
    }
    DisplayJob *job = DisplayDataCreate();
    if (!job) {
        result = lastError_;
        return nullptr;
    }
    platform::SharedLockGuard lock;
    job->kind = kind;
    if (job->IsGraphics()) {
        const ModelEntry &m = CurrentModel();
        job->m_nNumOfLine = static_cast<uint8_t>(m.lines);
        job->m_nNumOfCell = static_cast<uint8_t>(m.cellsPerLine);
        dumpRowWidth_ = m.cellsPerLine;
    } else {
        dumpRowWidth_ = CurrentModel().brailleCells;
    }
    result = 0;
    return job;
}

int CVelumi::Abandon(int code) {
    CCOM::Instance().ReleaseDisplay();
    return code;
}

void CVelumi::DumpPicture(const DisplayJob &job) {
    if (!g_traceOn.load(std::memory_order_relaxed)) return;
    NubraLog("Display Data : NumOfLine(%d), m_nNumOfCell(%d)", job.m_nNumOfLine, job.m_nNumOfCell);
    std::string row;
    for (int l = 0; l < job.m_nNumOfLine; ++l) {
        row.clear();
        for (int c = 0; c < job.m_nNumOfCell; ++c) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", job.data[l * job.m_nNumOfCell + c]);
            row += hex;
        }
        NubraLog("%s", row.c_str());
    }
}

int CVelumi::ChangedLineFrom(const DisplayJob &job, int from) {
    platform::SharedLockGuard lock;
    const LibraryState &lib = Library();
    const size_t cells = job.m_nNumOfCell;
    for (int l = from; l < job.m_nNumOfLine; ++l) {
        const size_t at = l * cells;
        const bool known =
            static_cast<size_t>(l) < lib.lineKnown.size() && lib.lineKnown[l] && at + cells <= lib.lastShown.size();
        if (!known || std::memcmp(job.data + at, lib.lastShown.data() + at, cells) != 0) return l;
    }
    return job.m_nNumOfLine;
}

int CVelumi::FirstLine(const DisplayJob &job, int, int offset) {
    platform::SharedLockGuard lock;
    if (Library().sendAllLines) return 0;
    if (job.kind == JobKind::PartialGraphics) return job.m_nNumOfCell ? offset / job.m_nNumOfCell : job.m_nNumOfLine;
    return ChangedLineFrom(job, 0);
}

int CVelumi::NextLine(DisplayJob &job) {
    platform::SharedLockGuard lock;
    if (Library().sendAllLines) return job.currentLine + 1;
    if (job.kind == JobKind::PartialGraphics) {
        if (job.remainingLines > 0) {
            --job.remainingLines;
            return job.currentLine + 1;
        }
        return job.m_nNumOfLine;
    }
    return ChangedLineFrom(job, job.currentLine + 1);
}

void CVelumi::LineShown(const DisplayJob &job, int line) {
    platform::SharedLockGuard lock;
    LibraryState &lib = Library();
    const size_t cells = job.m_nNumOfCell;
    const size_t size = static_cast<size_t>(job.m_nNumOfLine) * cells;
    if (lib.lastShown.size() != size || lib.lineKnown.size() != job.m_nNumOfLine) {
        // Another geometry: nothing of the old picture is known to be on these pins.
        lib.lastShown.assign(size, 0);
        lib.lineKnown.assign(job.m_nNumOfLine, false);
    }
    if (line < 0 || line >= job.m_nNumOfLine) return;
    std::memcpy(lib.lastShown.data() + line * cells, job.data + line * cells, cells);
    lib.lineKnown[static_cast<size_t>(line)] = true;
}

void CVelumi::LineUnknown(int line) {
    platform::SharedLockGuard lock;
    std::vector<bool> &known = Library().lineKnown;
    if (line >= 0 && static_cast<size_t>(line) < known.size()) known[static_cast<size_t>(line)] = false;
}

// The picture was recorded line by line as the pad confirmed each line.
void CVelumi::RecordLastShown(const DisplayJob &) {}

// Steps shared by the graphics operations once the job is filled: dump, find
// the first line to send, and start the transfer.
int CVelumi::StartDisplay(DisplayJob &job, const char *logName, int length, int offset) {
    int first;
    {
        platform::SharedLockGuard lock;
        DumpPicture(job);
        first = FirstLine(job, length, offset);
        if (first >= CurrentModel().lines) return Abandon(NUBRA_ERROR_DISPLAY_NO_CHANGE);
        job.currentLine = static_cast<uint8_t>(first);
    }
    // Never under the lock: the display thread needs it to answer.
    const int result = CCOM::Instance().RequestDisplay();
    NubraLog("[OK] %s() successed", logName);
    return result;
}

int CVelumi::Display(const char *path) {
    int result;
    DisplayJob *job = BeginJob("CVelumi::Display", JobKind::Graphics, result, [&] {
        if (path) return 0;
        NubraLog("[ERROR] NUBRA_ERROR_INVALID_DISPLAY_FILE in %s() - no path", "CVelumi::Display");
        return static_cast<int>(NUBRA_ERROR_INVALID_DISPLAY_FILE);
    });
    if (!job) return result;
    const ModelEntry &m = CurrentModel();
    const size_t cells = static_cast<size_t>(m.graphicBytes);
    // Only a regular file is read, and only the bytes a picture needs: a pipe,
    // device or directory would block the caller or never end.
    std::string buffer;
    std::string why;
    const int fd = platform::OpenRegularFile(path, why);
    if (fd < 0 || !platform::ReadAtMost(fd, kTgxHeader + cells, buffer)) {
        if (fd >= 0) why = "read error";
        NubraLog("[ERROR] NUBRA_ERROR_INVALID_DISPLAY_FILE in %s() - %s", "CVelumi::Display", why.c_str());
    }
    if (fd >= 0) platform::CloseFile(fd);
    buffer.resize(kTgxHeader + cells, '\0');  // a short file leaves zeros and fails the checks below
    if (buffer.compare(0, 5, kTgxSignature) != 0 || static_cast<uint8_t>(buffer[5]) != m.lines ||
        static_cast<uint8_t>(buffer[6]) != m.cellsPerLine)
        return Abandon(NUBRA_ERROR_INVALID_DISPLAY_FILE);
    {
        platform::SharedLockGuard lock;
        std::memcpy(job->data, buffer.data() + kTgxHeader, cells);
    }
    return StartDisplay(*job, "CVelumi::Display", 0, 0);
}

int CVelumi::DisplayData(const unsigned char *data, int length, int sendAllLines) {
    int result;
    // Checked before a job is made: nothing is copied out of bounds or from null.
    DisplayJob *job = BeginJob("CVelumi::Display", JobKind::Graphics, result, [&] {
        if (length >= 0 && length <= CurrentModel().graphicBytes && (length == 0 || data)) return 0;
        NubraLog("[ERROR] NUBRA_ERROR_DISPLAY_INVALID_RANGE in %s() - length %d", "CVelumi::Display", length);
        return static_cast<int>(NUBRA_ERROR_DISPLAY_INVALID_RANGE);
    });
    if (!job) return result;
    {
        platform::SharedLockGuard lock;
        if (length > 0) std::memcpy(job->data, data, static_cast<size_t>(length));
        Library().sendAllLines = sendAllLines != 0;
    }
    return StartDisplay(*job, "CVelumi::Display", length, 0);
}

int CVelumi::DisplayPart(const unsigned char *data, int length, int offset) {
    int result;
    const int area = CurrentModel().graphicBytes;
    DisplayJob *job = BeginJob("CVelumi::DisplayPart", JobKind::PartialGraphics, result, [&] {
        const bool valid = length >= 1 && offset >= 0 && length <= area && offset <= area - length && data;
        return valid ? 0 : NUBRA_ERROR_DISPLAY_INVALID_RANGE;
    });
    if (!job) return result;
    {
        platform::SharedLockGuard lock;
        const int cells = job->m_nNumOfCell;
        job->remainingLines = static_cast<uint8_t>((offset + length - 1) / cells - offset / cells + 1);
        const auto &last = Library().lastShown;
        if (!last.empty())
            std::memcpy(job->data, last.data(), std::min<size_t>(last.size(), static_cast<size_t>(area)));
        std::memcpy(job->data + offset, data, static_cast<size_t>(length));
    }
    return StartDisplay(*job, "CVelumi::DisplayPart", length, offset);
}

int CVelumi::ResetDisplay() {
    int result;
    DisplayJob *job = BeginJob("CVelumi::ResetDisplay", JobKind::Graphics, result);
    if (!job) return result;
    return StartDisplay(*job, "CVelumi::ResetDisplay", 0, 0);
}

}  // namespace velumi
