// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// What the high-score file asks of the file system, beyond the writer and the lock. Each
// system has its own implementation (posix/, windows/), chosen by the build; the comments say
// what each one promises.
namespace brightsum::files {

enum class Kind {
    Absent,
    Regular,
    Other,
};

// What a path names, following symbolic links; a dangling link counts as absent, since a save
// simply replaces it. A name that cannot be looked into counts as Other.
Kind kindOf(const std::filesystem::path& path);

// Whether this user may change the file, and whether the file system lets anyone (a read-only
// mount answers false).
bool canWrite(const std::filesystem::path& file);

// Whether this user may create, rename and remove files in the folder, on a writable mount.
bool canWriteFolder(const std::filesystem::path& folder);

// Whether this user may read the file.
bool canRead(const std::filesystem::path& file);

// Whether a new file may take this name's place, or the name be given to another file. False
// where the folder keeps other users' files from being replaced or removed (a shared class
// folder with the sticky bit), though they may let everyone write them.
bool canReplace(const std::filesystem::path& file);

// What a name is in itself, without following a symbolic link.
enum class NameKind {
    Missing,
    SymbolicLink,
    // A regular file known by this one name only.
    SoleName,
    // A regular file with other names too, or anything else.
    Other,
};
NameKind nameKindOf(const std::filesystem::path& path);

struct Head {
    enum class Status {
        Read,
        Missing,
        // Anything but a regular file, or a file that cannot be opened or read.
        Unreadable,
    };
    Status status = Status::Unreadable;
    std::string bytes;
    // Whether `bytes` is the whole file.
    bool complete = false;
};

// Reads at most `limit` bytes from the start of a regular file, however large it is. Never
// blocks on something else in the file's place (a named pipe, a device).
Head readHead(const std::filesystem::path& file, std::size_t limit);

// The folder where this user's programs keep their data, with the program's own folder `app`
// in it; on Linux $XDG_DATA_HOME/app when that names an absolute path, else
// $HOME/.local/share/app. Built from bytes as the system gives them, whatever their encoding.
// On Windows %LOCALAPPDATA%\app.
// Empty when the user has no home folder at all.
std::filesystem::path userDataFolder(const std::string& app);

}  // namespace brightsum::files
