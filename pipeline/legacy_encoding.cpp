// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/legacy_encoding.h"

#include <array>
#include <cstdint>
#include <utility>

namespace gt {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes stand for the C1 control of the same value.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Every character of the nine Chinese style names, with its Big5 code.
constexpr std::array<std::pair<char32_t, std::uint16_t>, 26> kBig5 = {{
    {U'中', 0xA4A4}, {U'值', 0xADC8}, {U'只', 0xA575}, {U'對', 0xB9EF}, {U'彩', 0xB16D}, {U'描', 0xB479},
    {U'有', 0xA6B3}, {U'材', 0xA7F7}, {U'框', 0xAED8}, {U'油', 0xAA6F}, {U'濾', 0xC26F}, {U'畫', 0xB565},
    {U'白', 0xA5D5}, {U'稱', 0xBAD9}, {U'筆', 0xB5A7}, {U'素', 0xAFC0}, {U'與', 0xBB50}, {U'色', 0xA6E2},
    {U'質', 0xBDE8}, {U'迴', 0xB06A}, {U'遞', 0xBBBC}, {U'鉛', 0xB95D}, {U'鋼', 0xBFFB}, {U'鏡', 0xC3E8},
    {U'間', 0xB6A1}, {U'黑', 0xB6C2},
}};

// Reads one character; malformed sequences give U+FFFD and consume one byte.
char32_t nextUtf8(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int length = b0 >= 0xF0 && b0 <= 0xF4 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 && b0 < 0xE0 ? 2 : 0;
    if (length == 0 || i + std::size_t(length) > s.size()) {
        ++i;
        return kReplacement;
    }
    char32_t c = b0 & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const unsigned char b = byte(i + std::size_t(k));
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3F);
    }
    const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += std::size_t(length);
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int cp1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t k = 0; k < kCp1252High.size(); ++k)
        if (kCp1252High[k] == c) return static_cast<int>(0x80 + k);
    return -1;
}

}  // namespace

std::string toWindows1252(std::string_view utf8, bool* complete) {
    std::string out;
    bool all = true;
    for (std::size_t i = 0; i < utf8.size();) {
        const int b = cp1252Byte(nextUtf8(utf8, i));
        if (b < 0) all = false;
        out += static_cast<char>(b < 0 ? '?' : b);
    }
    if (complete) *complete = all;
    return out;
}

std::string fromWindows1252(std::string_view bytes) {
    std::string out;
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        appendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char32_t(b));
    }
    return out;
}

std::string toBig5(std::string_view utf8, bool* complete) {
    std::string out;
    bool all = true;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = nextUtf8(utf8, i);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (const auto& [ch, code] : kBig5) {
            if (ch != c) continue;
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
            found = true;
            break;
        }
        if (!found) {
            all = false;
            out += '?';
        }
    }
    if (complete) *complete = all;
    return out;
}

std::string fromBig5(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        // A lead byte takes its trail byte with it, known or not, so one unknown character never
        // shifts the reading of the next.
        if (lead >= 0x81 && lead <= 0xFE && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            if ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0xA1 && trail <= 0xFE)) {
                const std::uint16_t code = static_cast<std::uint16_t>((lead << 8) | trail);
                char32_t c = kReplacement;
                for (const auto& [ch, known] : kBig5)
                    if (known == code) c = ch;
                appendUtf8(out, c);
                i += 2;
                continue;
            }
        }
        appendUtf8(out, kReplacement);
        ++i;
    }
    return out;
}

}  // namespace gt
