// SPDX-License-Identifier: GPL-3.0-or-later
// A small command-line front end to the high-score file, run by the tests in another process:
// as an unprivileged user (where the tests run as root, which ignores permission bits), to be
// killed in the middle of a save, or as a second copy of the game sharing the file.
//
//   hiscore_probe load <program folder> <data folder>    prints "saved|unsaved <first name>"
//   hiscore_probe die-before-rename <program folder> <data folder>
//       saves a table and kills itself after the temporary file is written
//   hiscore_probe play <program folder> <data folder> <name> <first score> <count>
//       plays <count> games as the game does: the start-up load, then a new high score
//       <name><i> with the score <first score> + 2 i placed and saved; checks after every
//       step that none of its own entries has left the table unless ten higher scores pushed
//       it out, and prints "lost <entry>" and fails when one has, else "played <count>"
//   hiscore_probe load-loop <program folder> <data folder> <count>
//       runs the start-up load <count> times and prints "loaded <count>"
//   hiscore_probe hold-lock <program folder> <data folder>
//       takes the lock beside the file, prints "locked" and holds it until its input closes
//
// With HISCORE_PROBE_ROOM=<bytes> set, the disk is full once the probe has written that many.

#include "FileLock.h"
#include "HighScoreFile.h"
#include "Numbers.h"

#ifdef _WIN32
// shellapi.h needs what windows.h declares.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using brightsum::FileLock;
using brightsum::HighScoreFile;
using brightsum::HighScoreTable;
using brightsum::NewHighScore;

namespace {

struct Placed {
    std::string name;
    double points = 0;
};

// An entry may leave the table only below ten higher scores.
const Placed* lostEntry(const HighScoreTable& table, const std::vector<Placed>& placed) {
    double lowest = brightsum::TextValue(table.HighScores[0]);
    for (const std::string& score : table.HighScores) {
        lowest = std::min(lowest, brightsum::TextValue(score));
    }
    for (const Placed& entry : placed) {
        const bool present = std::find(table.HighNames.begin(), table.HighNames.end(),
                                       entry.name) != table.HighNames.end();
        if (!present && entry.points > lowest) {
            return &entry;
        }
    }
    return nullptr;
}

int play(const HighScoreFile& file, const std::string& prefix, long first, long count) {
    std::vector<Placed> placed;
    const auto lost = [&placed](const HighScoreTable& table) {
        const Placed* entry = lostEntry(table, placed);
        if (entry != nullptr) {
            std::printf("lost %s\n", entry->name.c_str());
        }
        return entry != nullptr;
    };
    HighScoreTable table;
    for (long i = 0; i < count; ++i) {
        file.LoadHighScores(table);  // start-up, and the reset after every game
        if (lost(table)) {
            return 1;
        }
        // Game over, as the engine runs it.
        const Placed entry{prefix + std::to_string(i), static_cast<double>(first + 2 * i)};
        table.SortHighScores();
        const std::optional<int> slot = table.FindHighScoreSlot(entry.points);
        if (!slot) {
            continue;
        }
        table.InsertHighScore(*slot, entry.name, entry.points, 1);
        const NewHighScore added{entry.name, entry.points, 1};
        if (!file.SaveNewHighScores(table, {&added, 1})) {
            std::printf("unsaved %s\n", entry.name.c_str());
            return 1;
        }
        placed.push_back(entry);
        if (lost(table)) {
            return 1;
        }
    }
    std::printf("played %ld\n", count);
    return 0;
}

// The folder arguments as the system gave them. Windows hands a narrow main() its arguments in
// the ANSI code page, which cannot name every folder: take the wide ones.
std::filesystem::path pathArgument(char** argv, int index) {
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::filesystem::path path =
        index < count ? std::filesystem::path(wide[index]) : std::filesystem::path(argv[index]);
    ::LocalFree(wide);
    return path;
#else
    return argv[index];
#endif
}

// Ends this process on the spot, as a crash or a kill would: no clean-up of any kind.
[[noreturn]] void die() {
#ifdef _WIN32
    // An exit status in the range Windows gives crashed programs.
    ::TerminateProcess(::GetCurrentProcess(), 0xC0000409);
#else
    std::raise(SIGKILL);
#endif
    std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: %s load|die-before-rename|play|load-loop|hold-lock <program> "
                     "<data> ...\n",
                     argv[0]);
        return 2;
    }
    const std::string command = argv[1];
    HighScoreFile file(pathArgument(argv, 2), pathArgument(argv, 3));
    if (const char* room = std::getenv("HISCORE_PROBE_ROOM")) {
        auto left = std::make_shared<long>(std::stol(room));
        file.setSaveHooks({.write =
                               [left](std::size_t size) {
                                   const long n = std::min(*left, long(size));
                                   *left -= n;
                                   return n;
                               },
                           .beforeRename = {},
                           .flush = {}});
    }
    HighScoreTable table;
    if (command == "load" && argc == 4) {
        const bool saved = file.LoadHighScores(table);
        std::printf("%s %s\n", saved ? "saved" : "unsaved", table.HighNames[0].c_str());
        return 0;
    }
    if (command == "die-before-rename" && argc == 4) {
        file.setSaveHooks({.write = {}, .beforeRename = [] { die(); }, .flush = {}});
        table = HighScoreTable::DefaultHighScores();
        table.InsertHighScore(1, "Never saved", 99999, 5);
        file.SaveHighScores(table);
        std::printf("still alive\n");
        return 1;
    }
    if (command == "play" && argc == 7) {
        return play(file, argv[4], std::stol(argv[5]), std::stol(argv[6]));
    }
    if (command == "load-loop" && argc == 5) {
        const long count = std::stol(argv[4]);
        for (long i = 0; i < count; ++i) {
            file.LoadHighScores(table);
        }
        std::printf("loaded %ld\n", count);
        return 0;
    }
    if (command == "hold-lock" && argc == 4) {
        const FileLock lock(file.path().parent_path() / HighScoreFile::kLockFileName,
                            HighScoreFile::kLockTimeout);
        if (lock.state() != FileLock::State::Held) {
            std::printf("not locked\n");
            return 1;
        }
        std::printf("locked\n");
        std::fflush(stdout);
        char byte = 0;
        while (::read(STDIN_FILENO, &byte, 1) > 0) {
        }
        return 0;
    }
    return 2;
}
