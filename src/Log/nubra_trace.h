// CNubraTrace: appends time-stamped records to the daily trace file
// "<folder>YYYYMMDD.txt" (UTF-16LE, FF FE on a new file, "HH:MM:SS.mmm" TAB
// text CR LF, text cut at 255 characters).
#pragma once

#include <mutex>
#include <string>

namespace velumi {

class CNubraTrace {
public:
    static CNubraTrace &Instance();

    CNubraTrace();
    virtual ~CNubraTrace();

    void Enable(bool on);
    bool Enabled();
    // Creates the folder (and its parents, new ones mode 0700) and stores it;
    // it should end in "/". Returns false when the folder could not be
    // created. An empty path leaves no folder: records are then dropped.
    bool SetFolder(const std::string &path);
    // Stores `path` (ending in "/", its parent existing) only when it is, or
    // can be made, a private folder of this user (platform::EnsurePrivateFolder);
    // false and nothing stored otherwise.
    bool SetPrivateFolder(const std::string &path);
    std::string Folder();
    // Stamps the UTF-8 text with the local time and appends it while enabled.
    void WriteLine(const char *text);
    // Appends one record's text (UTF-8) to the daily file.
    void Append(const std::string &record);
    std::string FilePath();

    static constexpr int kMaxTextCharacters = 255;

private:
    std::string folder_;  // guarded by lock_
    std::string filePath_;  // used by the appending thread under fileLock_
    std::string date_;
    bool newDay_ = true;
    unsigned char enableBits_ = 0;  // guarded by lock_
    std::mutex lock_;
    std::mutex fileLock_;
};

// "_VelumiLog/" beside the executable, with a trailing "/".
std::string LogFolder();

// Computes the log folder and enables the writer: VELUMI_LOG_DIR when set;
// else "_VelumiLog/" beside the executable when that is not a system folder
// and is (or can be made) private to this user; else the user's state folder
// ($XDG_STATE_HOME/velumi/log/ or ~/.local/state/velumi/log/); else the
// private $TMPDIR/velumi-log-UID/ (/tmp without TMPDIR); else no trace file.
void TraceStart();
// TraceStart for an executable in `exeDir`.
void TraceStartBeside(const std::string &exeDir);

}  // namespace velumi
