// SPDX-License-Identifier: GPL-3.0-or-later
// The file system's answers on Windows. Access rights are asked of the system itself, by
// opening the file for what the program would do with it: that takes the file's read-only
// attribute, its access list and a read-only volume into account at once.
#include "FileSystem.h"

#include "UniqueHandle.h"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

namespace brightsum::files {

namespace fs = std::filesystem;

namespace {

// Whether this user may open the file for `access`. Another program that holds it without
// sharing that access does not count: Windows checks the rights before the sharing.
bool mayOpen(const fs::path& file, DWORD access) {
    const UniqueHandle handle(::CreateFileW(file.c_str(), access, win::kShareAll, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) {
        return ::GetLastError() == ERROR_SHARING_VIOLATION;
    }
    return ::GetFileType(handle.get()) == FILE_TYPE_DISK;
}

bool readOnlyVolume(HANDLE handle) {
    DWORD flags = 0;
    return ::GetVolumeInformationByHandleW(handle, nullptr, 0, nullptr, nullptr, &flags, nullptr,
                                           0) &&
           (flags & FILE_READ_ONLY_VOLUME) != 0;
}

}  // namespace

// Follows links, as opening a file does; a dangling link has nothing at its end.
Kind kindOf(const fs::path& path) {
    const UniqueHandle handle(win::openExisting(path, FILE_READ_ATTRIBUTES));
    if (!handle.valid()) {
        return win::isMissing(::GetLastError()) ? Kind::Absent : Kind::Other;
    }
    return win::isRegularFile(handle.get()) ? Kind::Regular : Kind::Other;
}

// The read-only attribute and the volume are asked too, not left to the open alone: an
// administrator, or Wine run by root, may open such a file for writing all the same.
bool canWrite(const fs::path& file) {
    const UniqueHandle handle(win::openExisting(file, FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION info{};
    return handle.valid() && ::GetFileInformationByHandle(handle.get(), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0 &&
           !readOnlyVolume(handle.get()) && mayOpen(file, GENERIC_WRITE);
}

// The honest answer is the system's: a file created in the folder, which goes again when its
// handle closes, even when this program dies in between. A random name, as no two copies of
// the game asking at once, nor a file a power cut left, may take the same one.
bool canWriteFolder(const fs::path& folder) {
    std::random_device random;
    for (int attempt = 0; attempt < 10; ++attempt) {
        const fs::path probe = folder / (L"~brightsum-" + std::to_wstring(random()) + L".tmp");
        const UniqueHandle handle(::CreateFileW(
            probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (handle.valid()) {
            return !readOnlyVolume(handle.get());
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return false;
        }
    }
    return false;
}

bool canRead(const fs::path& file) {
    return mayOpen(file, GENERIC_READ);
}

// Windows has no folder that lets a user write another's file but not replace it.
bool canReplace(const fs::path&) {
    return true;
}

NameKind nameKindOf(const fs::path& path) {
    const UniqueHandle handle(
        win::openExisting(path, FILE_READ_ATTRIBUTES, FILE_FLAG_OPEN_REPARSE_POINT));
    if (!handle.valid()) {
        return NameKind::Missing;
    }
    if (win::isNameSurrogate(handle.get())) {
        return NameKind::SymbolicLink;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    return win::isRegularFile(handle.get()) && ::GetFileInformationByHandle(handle.get(), &info) &&
                   info.nNumberOfLinks == 1
               ? NameKind::SoleName
               : NameKind::Other;
}

// Only a file on a disk is read: a folder is refused by the open itself, a pipe or a device
// (a name such as "\\.\pipe\x" or "COM1") by its type, before any read can wait on it.
Head readHead(const fs::path& file, std::size_t limit) {
    Head head;
    const UniqueHandle handle(::CreateFileW(file.c_str(), GENERIC_READ, win::kShareAll, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle.valid()) {
        head.status =
            win::isMissing(::GetLastError()) ? Head::Status::Missing : Head::Status::Unreadable;
        return head;
    }
    if (!win::isRegularFile(handle.get())) {
        return head;
    }
    // One byte more than the limit tells whether there is more.
    head.bytes.assign(limit + 1, '\0');
    std::size_t got = 0;
    while (got < head.bytes.size()) {
        const DWORD want =
            static_cast<DWORD>(std::min<std::size_t>(head.bytes.size() - got, 1 << 30));
        DWORD n = 0;
        if (!::ReadFile(handle.get(), head.bytes.data() + got, want, &n, nullptr)) {
            head.bytes.clear();
            return head;
        }
        if (n == 0) {
            break;
        }
        got += n;
    }
    head.complete = got <= limit;
    head.bytes.resize(std::min(got, limit));
    head.status = Head::Status::Read;
    return head;
}

// %LOCALAPPDATA%\app: the folder Windows keeps for this user's programs on this computer,
// not carried to others with a roaming profile.
fs::path userDataFolder(const std::string& app) {
    const std::wstring name = win::widen(app);
    fs::path folder;
    PWSTR known = nullptr;
    if (::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DONT_VERIFY, nullptr, &known) ==
        S_OK) {
        folder = known;
    }
    ::CoTaskMemFree(known);
    if (!folder.is_absolute()) {
        // No shell folders (a stripped service account): the variable, when it names one.
        const wchar_t* variable = ::_wgetenv(L"LOCALAPPDATA");
        folder = variable != nullptr ? fs::path(variable) : fs::path();
    }
    return folder.is_absolute() ? folder / name : fs::path();
}

}  // namespace brightsum::files
