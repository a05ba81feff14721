// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for "hiscore.dat": whatever the bytes, reading never crashes, and a table
// that was read writes a file that reads back to the same table.

#include "HighScoreFormat.h"
#include "Numbers.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace brightsum;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "round trip broken: %s\n", what);
        std::abort();
    }
}

bool numbersConvert(const HighScoreTable& table) {
    for (int i = 0; i < HighScoreTable::kEntries; ++i) {
        if (!NumberText(table.HighScores[i]) || !NumberText(table.HighLevels[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<HighScoreTable> read = HighScoreFormat::parse(bytes).table;

    // Reading only the first bytes of a file never yields a table the whole file would not.
    const HighScoreFormat::Parsed partial = HighScoreFormat::parse(bytes, false);
    if (partial.table) {
        require(read && *partial.table == *read, "partial read disagrees with whole read");
        require(partial.end <= size, "end beyond the bytes");
    }
    if (!read) {
        return 0;
    }

    // The table operations take whatever texts a file held.
    HighScoreTable sorted = *read;
    sorted.SortHighScores();
    if (const std::optional<int> slot = sorted.FindHighScoreSlot(TextValue(read->HighScores[0]))) {
        sorted.InsertHighScore(*slot, read->HighNames[0], TextValue(read->HighScores[0]), 1);
    }

    const std::optional<std::string> written = HighScoreFormat::serialise(*read);
    require(written.has_value() == numbersConvert(*read), "write fails exactly on bad numbers");
    if (!written) {
        return 0;
    }
    const std::optional<HighScoreTable> again = HighScoreFormat::parse(*written).table;
    require(again.has_value(), "a written file is unreadable");
    for (int i = 0; i < HighScoreTable::kEntries; ++i) {
        require(TextValue(again->HighScores[i]) == TextValue(read->HighScores[i]), "score");
        require(TextValue(again->HighLevels[i]) == TextValue(read->HighLevels[i]), "level");
        require(*NumberText(again->HighScores[i]) == again->HighScores[i], "score text");
        const std::string& before = read->HighNames[i];
        const std::string& after = again->HighNames[i];
        // A name is cut only where the file could not hold it whole.
        require(after == before || (before.size() > HighScoreTable::kMaxNameBytes &&
                                    before.compare(0, after.size(), after) == 0),
                "name");
    }
    // From the first rewrite on, the file is stable.
    const std::optional<std::string> rewritten = HighScoreFormat::serialise(*again);
    require(rewritten && *rewritten == *written, "rewrite changes the bytes");
    return 0;
}
