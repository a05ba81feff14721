// A small command-line front end to the high-score file, run by the tests in another process:
// as an unprivileged user (where the tests run as root, which ignores permission bits), or to
// be killed in the middle of a save.
//
//   hiscore_probe load <program folder> <data folder>    prints "saved|unsaved <first name>"
//   hiscore_probe die-before-rename <program folder> <data folder>
//       saves a table and kills itself after the temporary file is written

#include "HighScoreFile.h"

#include <csignal>
#include <cstdio>
#include <string>

using brightsum::HighScoreFile;
using brightsum::HighScoreTable;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s load|die-before-rename <program> <data>\n", argv[0]);
        return 2;
    }
    const std::string command = argv[1];
    HighScoreFile file(argv[2], argv[3]);
    HighScoreTable table;
    if (command == "load") {
        const bool saved = file.LoadHighScores(table);
        std::printf("%s %s\n", saved ? "saved" : "unsaved", table.HighNames[0].c_str());
        return 0;
    }
    if (command == "die-before-rename") {
        file.setSaveHooks({.write = {}, .beforeRename = [] { std::raise(SIGKILL); }});
        table = HighScoreTable::DefaultHighScores();
        table.InsertHighScore(1, "Never saved", 99999, 5);
        file.SaveHighScores(table);
        std::printf("still alive\n");
        return 1;
    }
    return 2;
}
