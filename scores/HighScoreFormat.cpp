// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreFormat.h"

#include "Numbers.h"
#include "TextEncoding.h"

#include <algorithm>
#include <array>

namespace brightsum {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isSeparator(char c) {
    return c == ',' || c == '\r' || c == '\n';
}

struct RawField {
    std::string_view text;
    bool quoted = false;
};

// Cuts `text` to at most `limit` bytes without splitting a UTF-8 character.
std::string_view cutUtf8(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return text.substr(0, cut);
}

std::string fileName(std::string name) {
    // Only a name set by hand can hold a quote here; written as it is, it would end the field
    // early and shift every field after it.
    for (char& c : name) {
        if (c == '"') {
            c = '\'';
        }
    }
    return name;
}

std::string buildFile(const std::array<std::string, HighScoreTable::kEntries>& scores,
                      const std::array<std::string, HighScoreTable::kEntries>& names,
                      const std::array<std::string, HighScoreTable::kEntries>& levels) {
    std::string out;
    for (int i = 0; i < HighScoreTable::kEntries; ++i) {
        out += '"';
        out += scores[i];
        out += "\",\"";
        out += names[i];
        out += "\",\"";
        out += levels[i];
        out += "\"\r\n";
    }
    return out;
}

}  // namespace

HighScoreFormat::Parsed HighScoreFormat::parse(std::string_view bytes, bool complete) {
    Parsed result;
    std::size_t pos = 0;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        pos = 3;  // a byte-order mark left by a text editor
    }

    std::array<RawField, kFields> raw;
    for (RawField& field : raw) {
        if (pos >= bytes.size()) {
            return result;  // fewer than thirty fields
        }
        const std::size_t start = pos;
        // Nothing a readable field needs lies beyond this, so a huge field costs no more
        // than a short one.
        const std::size_t limit = std::min(bytes.size(), start + kMaxFieldSpan + 1);
        std::size_t p = start;
        while (p < limit && isBlank(bytes[p])) {
            ++p;
        }
        std::size_t end = p;
        if (p < limit && bytes[p] == '"') {
            // Runs to the next quote, separators included; whatever follows the closing quote
            // up to the separator is passed over.
            const std::size_t close = bytes.substr(0, limit).find('"', p + 1);
            const std::size_t textEnd = close == std::string_view::npos ? limit : close;
            field = {bytes.substr(p + 1, textEnd - p - 1), true};
            end = close == std::string_view::npos ? limit : close + 1;
            while (end < limit && !isSeparator(bytes[end])) {
                ++end;
            }
        } else {
            while (end < limit && !isSeparator(bytes[end])) {
                ++end;
            }
            std::size_t first = start;
            std::size_t last = end;
            while (first < last && isBlank(bytes[first])) {
                ++first;
            }
            while (last > first && isBlank(bytes[last - 1])) {
                --last;
            }
            field = {bytes.substr(first, last - first), false};
        }
        if (end - start > kMaxFieldSpan || field.text.size() > kMaxFieldBytes) {
            return result;
        }
        if (end == bytes.size() && !complete) {
            return result;  // the field may go on past what was read
        }
        pos = end;
        if (pos < bytes.size()) {
            if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') {
                ++pos;
            }
            ++pos;
        }
    }

    bool utf8 = true;
    for (const RawField& field : raw) {
        utf8 = utf8 && IsValidUtf8(field.text);
    }
    HighScoreTable table;
    for (std::size_t i = 0; i < kFields; ++i) {
        std::string text = utf8 ? std::string(raw[i].text) : Cp1252ToUtf8(raw[i].text);
        if (!raw[i].quoted) {
            // A quote inside an unquoted field could never be written back inside quotes.
            text = fileName(std::move(text));
        }
        const std::size_t entry = i / 3;
        switch (i % 3) {
            case 0:
                table.HighScores[entry] = std::move(text);
                break;
            case 1:
                table.HighNames[entry] = std::move(text);
                break;
            default:
                table.HighLevels[entry] = std::move(text);
                break;
        }
    }
    result.table = std::move(table);
    result.end = pos;
    return result;
}

std::optional<std::string> HighScoreFormat::serialise(const HighScoreTable& table) {
    std::array<std::string, HighScoreTable::kEntries> scores;
    std::array<std::string, HighScoreTable::kEntries> levels;
    for (int i = 0; i < HighScoreTable::kEntries; ++i) {
        std::optional<std::string> score = NumberText(table.HighScores[i]);
        std::optional<std::string> level = NumberText(table.HighLevels[i]);
        if (!score || !level) {
            return std::nullopt;
        }
        scores[i] = std::move(*score);
        levels[i] = std::move(*level);
    }

    // Windows-1252 when every name fits, as long as the result cannot be taken for UTF-8 when
    // read back ("Ã©" in Windows-1252 is the UTF-8 of "é").
    std::array<std::string, HighScoreTable::kEntries> names;
    bool narrow = true;
    for (int i = 0; i < HighScoreTable::kEntries && narrow; ++i) {
        std::optional<std::string> bytes = Utf8ToCp1252(fileName(table.HighNames[i]));
        if (bytes) {
            names[i] = std::move(*bytes);
            names[i].resize(std::min(names[i].size(), kMaxFieldBytes));
        }
        narrow = bytes.has_value();
    }
    if (narrow) {
        std::string file = buildFile(scores, names, levels);
        bool ascii = true;
        for (char c : file) {
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        }
        if (ascii || !IsValidUtf8(file)) {
            return file;
        }
    }
    for (int i = 0; i < HighScoreTable::kEntries; ++i) {
        const std::string name = RepairUtf8(fileName(table.HighNames[i]));
        names[i] = std::string(cutUtf8(name, kMaxFieldBytes));
    }
    return buildFile(scores, names, levels);
}

}  // namespace brightsum
