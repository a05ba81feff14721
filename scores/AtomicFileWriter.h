// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace brightsum {

// Replaces files whole, so that a crash at any moment leaves either the old file or the new
// one: the bytes go into a temporary file beside the target, which is flushed to the disk and
// put in the target's place in one step, and then the folder is flushed. A symbolic link in
// the target's place is replaced, never written through.
//
// Temporary files are named the prefix plus six characters. A writer keeps its temporary file
// marked as in use until it takes the target's place; a temporary file no writer uses any more
// was left by a writer that died, and the next write into that folder removes it.
//
// Each system has its own implementation (posix/, windows/).
class AtomicFileWriter {
public:
    static constexpr std::size_t kTempSuffixLength = 6;

    enum class Flush {
        File,
        Folder,
    };

    // What a write hook answers for a call interrupted by a signal before it stored anything.
    static constexpr long kInterrupted = -1;

    // Points where tests step into a write: to fill the disk, cut writes short or interrupt
    // them, kill the program at a chosen moment, or count and fail the flushes. Unset members
    // change nothing.
    struct Hooks {
        // Asked before each write of `size` bytes: how many of them the system may store this
        // time. Fewer stands for a short write, 0 for a full disk, kInterrupted for a signal.
        std::function<long(std::size_t size)> write;
        std::function<void()> beforeRename;
        // Asked before each flush to the disk, of the new file or of its folder; false makes
        // that flush fail.
        std::function<bool(Flush what)> flush;
    };

    explicit AtomicFileWriter(std::string tempPrefix) : m_tempPrefix(std::move(tempPrefix)) {}

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Replaces `target` with `bytes`. A replaced file keeps its permissions; a new one gets
    // what the user's settings give a new file (the umask). Where the folder lets this user
    // write the target but not replace it (another user's file in a folder with the sticky
    // bit), the bytes are written into the target itself, all or nothing short of a power cut.
    // A file system without permissions saves all the same. On Windows a replaced file keeps
    // its hidden and system attributes, and a new one gets the rights the folder passes on.
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
    bool isTempName(std::string_view name) const {
        return name.size() == m_tempPrefix.size() + kTempSuffixLength &&
               name.starts_with(m_tempPrefix);
    }

private:
    std::string m_tempPrefix;
    Hooks m_hooks;
};

}  // namespace brightsum
