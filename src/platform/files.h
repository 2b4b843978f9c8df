// Files and folders that a hostile or careless path must not turn against us:
// reading only regular files without ever blocking on a pipe or device,
// private trace folders, and appending without following links.
#pragma once

#include <string>

namespace velumi::platform {

// Opens `path` for reading when it names a regular file (links are followed,
// as for any document the user names). Opening never blocks: a pipe without a
// writer or a device node is refused, not waited on. Returns the descriptor
// (blocking mode restored), or -1 with a short reason in `why` ("a directory",
// "not a regular file", or the system's message); `notRegular` then tells
// whether the path named something other than a regular file.
int OpenRegularFile(const std::string &path, std::string &why, bool *notRegular = nullptr);

// Closes a descriptor that OpenRegularFile or OpenForAppend returned.
void CloseFile(int fd);

// Writes all of `data`; false on an error.
bool WriteAll(int fd, const void *data, size_t size);

// Creates `path` (mode 0700) unless it exists; true when it is a folder then.
bool MakeFolder(const std::string &path);

// Reads at most `limit` bytes from the start of a descriptor that
// OpenRegularFile returned. False on a read error.
bool ReadAtMost(int fd, size_t limit, std::string &out);

// True when `folder` lies in a folder of installed programs or of the system
// (/usr, /bin, /sbin, /lib..., /etc, /opt, /boot, /dev, /proc, /sys, /run,
// /snap, /nix): nothing of ours is written there.
bool IsSystemFolder(const std::string &folder);

// The folder of the running executable (no trailing "/"); "." when unknown.
std::string ExecutableFolder();

// Makes sure `folder` (no trailing "/" needed) is a private folder of the
// effective user: creates it (mode 0700) when missing, then checks that it is
// a real directory, not a link, owned by the effective user, and that nobody
// else may enter or change it (mode bits of group and others cleared; a folder
// of ours that is too open is made private). Its parent must exist.
bool EnsurePrivateFolder(const std::string &folder);

// "<$TMPDIR or /tmp>/<name>-<uid>/": this user's own folder in the shared
// temporary folder (to be checked with EnsurePrivateFolder).
std::string UserTempFolder(const std::string &name);

// Opens `path` for appending without following a link in its last part and
// without blocking (a pipe or device cannot hold us up); creates it (mode
// 0600) when missing and says so in `created`. Only a regular file with one
// link is kept; -1 otherwise.
int OpenForAppend(const std::string &path, bool &created);

}  // namespace velumi::platform
