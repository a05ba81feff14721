// SPDX-License-Identifier: GPL-3.0-or-later
#include "Numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

namespace brightsum {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A number already reduced to sign, digits, at most one period and an exponent, with nothing
// skipped inside it. from_chars, unlike strtod, never looks at the C locale, which Qt sets
// from the environment on start-up.
double convert(bool negative, const std::string& mantissa, long exponent) {
    std::string text = mantissa;
    if (exponent != 0) {
        text += 'e';
        text += std::to_string(exponent);
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: the decimal magnitude of the first
        // significant digit tells which.
        const std::size_t point = mantissa.find('.');
        const std::string_view whole = std::string_view(mantissa).substr(0, point);
        const std::size_t firstWhole = whole.find_first_not_of('0');
        long magnitude = 0;
        if (firstWhole != std::string_view::npos) {
            magnitude = static_cast<long>(whole.size() - firstWhole) - 1;
        } else if (point != std::string::npos) {
            const std::size_t firstFraction = mantissa.find_first_not_of('0', point + 1);
            magnitude = firstFraction == std::string::npos
                            ? LONG_MIN / 2
                            : -static_cast<long>(firstFraction - point);
        }
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

// Reads the grammar shared by both conversions. With `skipBlanks` blanks, tabs and line
// feeds are passed over anywhere; without it the text must hold nothing but the number.
// Returns nothing when no digit was found, or, in strict mode, when anything is left over.
std::optional<double> readNumber(std::string_view text, bool skipBlanks) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto skip = [&] {
        while (skipBlanks && i < n && isSkipped(text[i])) {
            ++i;
        }
    };

    skip();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    std::string mantissa;
    bool digits = false;
    bool point = false;
    for (skip(); i < n; ++i, skip()) {
        if (isDigit(text[i])) {
            mantissa += text[i];
            digits = true;
        } else if (text[i] == '.' && !point) {
            mantissa += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits) {
        return std::nullopt;
    }

    long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        auto skipAt = [&] {
            while (skipBlanks && j < n && isSkipped(text[j])) {
                ++j;
            }
        };
        skipAt();
        bool expNegative = false;
        if (j < n && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        bool expDigits = false;
        long value = 0;
        for (skipAt(); j < n && isDigit(text[j]); ++j, skipAt()) {
            expDigits = true;
            // Saturate far beyond any double's range so that a long exponent cannot overflow.
            if (value < 100000) {
                value = value * 10 + (text[j] - '0');
            }
        }
        if (expDigits) {
            exponent = expNegative ? -value : value;
            i = j;
        }
    }

    if (!skipBlanks && i != n) {
        return std::nullopt;
    }
    return convert(negative, mantissa, exponent);
}

std::string shortestText(double value) {
    if (value == 0.0) {
        value = 0.0;  // no "-0"
    }
    char buffer[400];
    // Whole numbers are written digit for digit, never in exponent form.
    const bool whole = std::isfinite(value) && std::trunc(value) == value;
    const auto result =
        whole ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
              : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

double TextValue(std::string_view text) {
    return readNumber(text, true).value_or(0.0);
}

std::optional<std::string> NumberText(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    const std::optional<double> value = readNumber(text.substr(first, last - first), false);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    std::string digits = shortestText(*value);
    return digits.front() == '-' ? digits : ' ' + digits;
}

std::string PlainText(double value) {
    return shortestText(value);
}

}  // namespace brightsum
