// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace brightsum {

// Replaces files whole, so that a crash at any moment leaves either the old file or the new
// one: the bytes go into a temporary file beside the target, which is flushed to the disk and
// renamed over the target, and then the folder is flushed. The rename replaces a symbolic link
// rather than writing through it.
//
// Temporary files are named the prefix plus six characters. A writer holds a lock on its
// temporary file until the rename; a temporary file whose lock can be taken was left by a
// writer that died, and the next write into that folder removes it.
class AtomicFileWriter {
public:
    // Stand-ins for steps of a write, so that tests can fill the disk, kill the program at a
    // chosen moment or count the flushes. Unset members do the real thing.
    struct Hooks {
        std::function<long(int fd, const void* data, std::size_t size)> write;
        std::function<void()> beforeRename;
        // Flushes a file or a folder to the disk, as fsync does.
        std::function<int(int fd)> flush;
    };

    explicit AtomicFileWriter(std::string tempPrefix);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Replaces `target` with `bytes`, keeping the permission bits of the file it replaces.
    bool replace(const std::filesystem::path& target, std::string_view bytes) const;

    // Gives what `existing` names a second name, `target`, in the same folder, replacing
    // whatever `target` named. A symbolic link gets the name itself: the file it points to is
    // never linked. Fails where the file system has no hard links.
    bool link(const std::filesystem::path& existing, const std::filesystem::path& target) const;

    // Renames `from` to `target` in the same folder, replacing whatever `target` named.
    bool move(const std::filesystem::path& from, const std::filesystem::path& target) const;

    // Removes the temporary files that writers which died left in the folder. Every write
    // does this first.
    void removeStaleTemps(const std::filesystem::path& folder) const;

    // Whether a folder entry of this name is one of this writer's temporary files.
    bool isTempName(std::string_view name) const;

private:
    std::string tempTemplate(const std::filesystem::path& folder) const;
    bool writeAll(int fd, const char* data, std::size_t size) const;
    bool flush(int fd) const;
    void flushFolder(const std::filesystem::path& folder) const;

    std::string m_tempPrefix;
    Hooks m_hooks;
};

}  // namespace brightsum
