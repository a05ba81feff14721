// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brightsum {

// Reads any text as a number, the way the whole program reads captions and file fields:
// blanks, tabs and line feeds are skipped wherever they stand; an optional sign, digits, at
// most one period and an optional exponent are read up to the first other character; a text
// without digits gives 0.
double TextValue(std::string_view text);

// The file's form of a number: one blank before a non-negative whole number, "-" before a
// negative one (" 1000", " 3", "-50"). Fails when the text does not read as a number
// (empty text, "abc", trailing garbage); surrounding blanks are allowed.
std::optional<std::string> NumberText(std::string_view text);

// The plain decimal text of a number, as captions and moved table entries show it:
// "7", "1000", "-50"; fractions in their shortest form.
std::string PlainText(double value);

}  // namespace brightsum
