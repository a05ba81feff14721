// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSystem.h"

#include "UniqueFd.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace brightsum::files {

Kind kindOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return errno == ENOENT ? Kind::Absent : Kind::Other;
    }
    return S_ISREG(st.st_mode) ? Kind::Regular : Kind::Other;
}

// access() answers for the real user and reports EROFS for a read-only mount, so it covers
// both a folder we may not write and one nobody may write.
bool canWrite(const std::filesystem::path& file) {
    return ::access(file.c_str(), W_OK) == 0;
}

bool canWriteFolder(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool canRead(const std::filesystem::path& file) {
    return ::access(file.c_str(), R_OK) == 0;
}

// The kernel's rule for a folder with the sticky bit: only the file's owner, the folder's
// owner or root may rename or remove the file.
bool canReplace(const std::filesystem::path& file) {
    struct stat st {};
    struct stat folder {};
    if (::lstat(file.c_str(), &st) != 0) {
        return true;  // nothing there to keep out
    }
    const std::filesystem::path parent = file.has_parent_path() ? file.parent_path() : ".";
    if (::stat(parent.c_str(), &folder) != 0) {
        return false;
    }
    const uid_t me = ::geteuid();
    return (folder.st_mode & S_ISVTX) == 0 || me == 0 || st.st_uid == me || folder.st_uid == me;
}

NameKind nameKindOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return NameKind::Missing;
    }
    if (S_ISLNK(st.st_mode)) {
        return NameKind::SymbolicLink;
    }
    return S_ISREG(st.st_mode) && st.st_nlink == 1 ? NameKind::SoleName : NameKind::Other;
}

Head readHead(const std::filesystem::path& file, std::size_t limit) {
    Head head;
    // O_NONBLOCK keeps a FIFO named like the file from blocking the program forever.
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        head.status = errno == ENOENT ? Head::Status::Missing : Head::Status::Unreadable;
        return head;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return head;
    }
    // One byte more than the limit tells whether there is more.
    head.bytes.assign(limit + 1, '\0');
    std::size_t got = 0;
    while (got < head.bytes.size()) {
        const ssize_t n = ::read(fd.get(), head.bytes.data() + got, head.bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            head.bytes.clear();
            return head;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    head.complete = got <= limit;
    head.bytes.resize(std::min(got, limit));
    head.status = Head::Status::Read;
    return head;
}

// The freedesktop.org base directory rules; a relative path in a variable is to be ignored.
std::filesystem::path userDataFolder(const std::string& app) {
    const auto absolute = [](const char* value) {
        return value != nullptr && value[0] == '/' ? std::filesystem::path(value)
                                                   : std::filesystem::path();
    };
    if (std::filesystem::path data = absolute(std::getenv("XDG_DATA_HOME")); !data.empty()) {
        return data / app;
    }
    std::filesystem::path home = absolute(std::getenv("HOME"));
    if (home.empty()) {
        // No HOME (a service, a stripped environment): the home folder of the account.
        std::string buffer(16384, '\0');
        passwd entry{};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr) {
            home = absolute(found->pw_dir);
        }
    }
    return home.empty() ? home : home / ".local" / "share" / app;
}

}  // namespace brightsum::files
