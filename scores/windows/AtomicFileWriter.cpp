// SPDX-License-Identifier: GPL-3.0-or-later
// The writer on Windows: a new file beside the target, FlushFileBuffers, and a rename of the
// open file over the target. A writer marks its temporary file as in use by holding it open
// without sharing its removal, which Windows ends with its process; the rename goes through
// that same handle, so the file is never unheld between its creation and its new name.
#include "AtomicFileWriter.h"

#include "UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace brightsum {

namespace fs = std::filesystem;

namespace {

fs::path folderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// The prefix plus random characters: a name for a new file in `folder`.
fs::path tempName(const fs::path& folder, const std::string& prefix) {
    static constexpr std::wstring_view kCharacters =
        L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kCharacters.size() - 1);
    std::wstring name = win::widen(prefix);
    for (std::size_t i = 0; i < AtomicFileWriter::kTempSuffixLength; ++i) {
        name += kCharacters[pick(random)];
    }
    return folder / name;
}

// A name of the folder in this writer's terms: only plain ASCII names can be temporary files.
bool asciiName(const wchar_t* wide, std::string& name) {
    name.clear();
    for (; *wide != L'\0'; ++wide) {
        if (*wide >= 0x80) {
            return false;
        }
        name += static_cast<char>(*wide);
    }
    return true;
}

// A file a rename cannot replace however long it waits: read-only, or a folder.
bool neverReplaceable(const fs::path& target) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

// Runs `step` until it succeeds, retrying for a short while when another program's open
// handle is in the way of the target.
template <typename Step>
bool retrying(const fs::path& target, Step step) {
    for (int attempt = 0;; ++attempt) {
        if (step()) {
            return true;
        }
        const DWORD error = ::GetLastError();
        if (attempt == win::kRetries || !win::isTransient(error) || neverReplaceable(target)) {
            ::SetLastError(error);
            return false;
        }
        std::this_thread::sleep_for(win::kRetryInterval);
    }
}

// One WriteFile as the hooks let it happen: cut short, interrupted or failing for want of room.
// Windows has no signals to interrupt a write; an interrupted one simply stores nothing.
long writeOnce(HANDLE file, const char* data, std::size_t size,
               const AtomicFileWriter::Hooks& hooks) {
    std::size_t allowed = std::min<std::size_t>(size, 1 << 30);
    if (hooks.write) {
        const long answer = hooks.write(size);
        if (answer == AtomicFileWriter::kInterrupted) {
            return 0;
        }
        if (answer <= 0) {
            ::SetLastError(ERROR_DISK_FULL);
            return -1;
        }
        allowed = std::min(allowed, static_cast<std::size_t>(answer));
    }
    DWORD written = 0;
    if (!::WriteFile(file, data, static_cast<DWORD>(allowed), &written, nullptr)) {
        return -1;
    }
    return static_cast<long>(written);
}

bool writeAll(HANDLE file, const char* data, std::size_t size,
              const AtomicFileWriter::Hooks& hooks) {
    while (size > 0) {
        const long n = writeOnce(file, data, size, hooks);
        if (n < 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool flush(HANDLE file, AtomicFileWriter::Flush what, const AtomicFileWriter::Hooks& hooks) {
    if (hooks.flush && !hooks.flush(what)) {
        ::SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    return ::FlushFileBuffers(file) != 0;
}

// Puts the renamed entry on the disk. A folder opened for writing can be flushed like a file;
// where this user may not open it so, NTFS has the rename in its journal all the same.
void flushFolder(const fs::path& folder, const AtomicFileWriter::Hooks& hooks) {
    const UniqueHandle handle(win::openExisting(folder, GENERIC_READ | GENERIC_WRITE));
    if (handle.valid()) {
        flush(handle.get(), AtomicFileWriter::Flush::Folder, hooks);
    }
}

// A new file that only this handle may write or remove until it is closed: other programs
// may read it, and a write's clean-up sees that it is in use.
HANDLE createTemp(const fs::path& folder, const std::string& prefix) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const HANDLE file =
            ::CreateFileW(tempName(folder, prefix).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                          FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return file;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return INVALID_HANDLE_VALUE;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// A replaced file keeps what the user set on it: hidden, left out of the search index. (Its
// access rights are the folder's, as every new file's in it are, unless someone set the old
// file's by hand.)
void keepAttributes(HANDLE temp, const fs::path& target) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_ARCHIVE;
    const UniqueHandle old(win::openExisting(target, FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!old.valid() || !::GetFileInformationByHandle(old.get(), &info) ||
        (info.dwFileAttributes & kKept & ~FILE_ATTRIBUTE_ARCHIVE) == 0) {
        return;
    }
    FILE_BASIC_INFO basic{};  // zero times: left as they are
    basic.FileAttributes = info.dwFileAttributes & kKept;
    ::SetFileInformationByHandle(temp, FileBasicInfo, &basic, sizeof basic);
}

// Gives the open file the target's name, replacing what the target named (a link is replaced,
// not followed). Windows 10 replaces a file that others hold open, as POSIX does, when asked
// to; older versions and other file systems refuse the request, and are asked the old way,
// under which a reader that has the target open keeps it there until it lets go.
bool renameOpenFile(HANDLE file, const fs::path& target) {
    constexpr DWORD kReplaceIfExists = 0x1;  // FILE_RENAME_FLAG_REPLACE_IF_EXISTS
    constexpr DWORD kPosixSemantics = 0x2;   // FILE_RENAME_FLAG_POSIX_SEMANTICS
    // Windows 10's FileRenameInfoEx, which mingw-w64's headers hide behind a version test that
    // no version passes.
    constexpr auto kRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
    const std::wstring name = fs::absolute(target).wstring();
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    const auto size = static_cast<DWORD>(buffer.size());
    bool posix = true;
    return retrying(target, [&] {
        if (posix) {
            info->Flags = kReplaceIfExists | kPosixSemantics;
            if (::SetFileInformationByHandle(file, kRenameInfoEx, info, size)) {
                return true;
            }
            const DWORD error = ::GetLastError();
            if (error != ERROR_INVALID_PARAMETER && error != ERROR_NOT_SUPPORTED &&
                error != ERROR_INVALID_FUNCTION && error != ERROR_CALL_NOT_IMPLEMENTED) {
                return false;
            }
            posix = false;
        }
        info->Flags = 0;
        info->ReplaceIfExists = TRUE;
        return ::SetFileInformationByHandle(file, FileRenameInfo, info, size) != 0;
    });
}

bool removeOpenFile(HANDLE file) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                        sizeof disposition) != 0;
}

}  // namespace

// A writer holds its temporary file open without sharing its removal until the rename, and
// Windows closes the handle when the writer's process ends, however it ends: a file that can
// be removed was left by a write that never finished.
void AtomicFileWriter::removeStaleTemps(const fs::path& folder) const {
    WIN32_FIND_DATAW entry{};
    const HANDLE search =
        ::FindFirstFileExW((folder / L"*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                           nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    std::string name;
    do {
        // A folder or a link of that name is no file of ours.
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
                0 &&
            asciiName(entry.cFileName, name) && isTempName(name)) {
            ::DeleteFileW((folder / entry.cFileName).c_str());  // refused while a writer holds it
        }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
}

bool AtomicFileWriter::replace(const fs::path& target, std::string_view bytes) const {
    const fs::path folder = folderOf(target);
    removeStaleTemps(folder);

    const UniqueHandle temp(createTemp(folder, m_tempPrefix));
    if (!temp.valid()) {
        return false;
    }
    keepAttributes(temp.get(), target);
    bool ok = writeAll(temp.get(), bytes.data(), bytes.size(), m_hooks) &&
              flush(temp.get(), Flush::File, m_hooks);
    if (ok && m_hooks.beforeRename) {
        m_hooks.beforeRename();
    }
    ok = ok && renameOpenFile(temp.get(), target);
    if (!ok) {
        removeOpenFile(temp.get());
        return false;
    }
    flushFolder(folder, m_hooks);
    return true;
}

bool AtomicFileWriter::link(const fs::path& existing, const fs::path& target) const {
    // A symbolic link cannot be given a second name as the link it is; the caller moves it.
    {
        const UniqueHandle file(
            win::openExisting(existing, FILE_READ_ATTRIBUTES, FILE_FLAG_OPEN_REPARSE_POINT));
        if (!file.valid() || win::isNameSurrogate(file.get())) {
            return false;
        }
    }
    const fs::path folder = folderOf(target);
    // A free name to link under; the link then replaces the target in one rename.
    fs::path name;
    bool linked = false;
    for (int attempt = 0; attempt < 100 && !linked; ++attempt) {
        name = tempName(folder, m_tempPrefix);
        linked = ::CreateHardLinkW(name.c_str(), existing.c_str(), nullptr) != 0;
        if (!linked && ::GetLastError() != ERROR_ALREADY_EXISTS &&
            ::GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    if (!linked) {
        return false;
    }
    if (!retrying(target, [&] {
            return ::MoveFileExW(name.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        })) {
        ::DeleteFileW(name.c_str());
        return false;
    }
    flushFolder(folder, m_hooks);
    return true;
}

bool AtomicFileWriter::move(const fs::path& from, const fs::path& target) const {
    if (!retrying(target, [&] {
            return ::MoveFileExW(from.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        })) {
        return false;
    }
    flushFolder(folderOf(target), m_hooks);
    return true;
}

}  // namespace brightsum
