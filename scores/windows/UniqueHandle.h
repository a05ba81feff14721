// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace brightsum {

// Owns a Windows file handle and closes it when it goes; INVALID_HANDLE_VALUE owns nothing.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE release() {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle;
    }
    void reset(HANDLE handle = INVALID_HANDLE_VALUE) {
        if (valid()) {
            ::CloseHandle(m_handle);
        }
        m_handle = handle;
    }

private:
    HANDLE m_handle;
};

namespace win {

// Every share mode: what this program opens never keeps another copy of the game, or the
// user's own tools, from reading, writing, renaming or removing the file meanwhile.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens an existing name. `flags` adds FILE_FLAG_OPEN_REPARSE_POINT to look at a link itself.
inline HANDLE openExisting(const std::filesystem::path& path, DWORD access, DWORD flags = 0) {
    return ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

// A symbolic link or a junction: a reparse point that stands for another name. Other reparse
// points (a cloud file that is not on the disk yet, a deduplicated file) are files like any.
inline bool isNameSurrogate(HANDLE file) {
    FILE_ATTRIBUTE_TAG_INFO tag{};
    return ::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag) != 0 &&
           (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           IsReparseTagNameSurrogate(tag.ReparseTag);
}

// A file's contents on a disk: no folder, no pipe or device, no link.
inline bool isRegularFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileType(file) == FILE_TYPE_DISK && ::GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && !isNameSurrogate(file);
}

// Errors that say nothing is there: the name, or a folder on the way to it.
inline bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// What another program's open handle may cause for a moment: a virus scanner or an indexer
// looking at a new file, a copy of the game reading the table without sharing its removal.
inline bool isTransient(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

// UTF-8, as the program keeps its own texts, in the system's wide characters.
inline std::wstring widen(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          size);
    return wide;
}

constexpr std::chrono::milliseconds kRetryInterval{10};
constexpr int kRetries = 100;  // a second at most

}  // namespace win

}  // namespace brightsum
