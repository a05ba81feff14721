// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HighScoreTable.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brightsum {

// The bytes of "hiscore.dat": ten lines of three quoted, comma-separated fields.
class HighScoreFormat {
public:
    static constexpr std::size_t kFields = 3 * HighScoreTable::kEntries;
    // A field's text, and the most the file may give one field between its separators: the
    // text, its two quotes and nothing more.
    static constexpr std::size_t kMaxFieldBytes = HighScoreTable::kMaxNameBytes;
    static constexpr std::size_t kMaxFieldSpan = kMaxFieldBytes + 2;
    // Thirty of the longest fields, each with a two-byte line end: no readable file needs
    // more than this many bytes read.
    static constexpr std::size_t kReadLimit = kFields * (kMaxFieldSpan + 2);

    struct Parsed {
        std::optional<HighScoreTable> table;
        std::size_t end = 0;  // where the thirtieth field and its separator end
    };

    // `complete` says the bytes are the whole file; otherwise they are its first bytes and a
    // field that runs to their end cannot be trusted.
    static Parsed parse(std::string_view bytes, bool complete = true);

    // Nothing when a score or level does not read as a number.
    static std::optional<std::string> serialise(const HighScoreTable& table);
};

}  // namespace brightsum
