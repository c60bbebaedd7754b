// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two 8-bit code pages of the parameter files, for the names they hold: Windows-1252 (whole)
// and Big5 (only the characters of the Chinese style names, and ASCII). Text inside the program is
// UTF-8.

#include <string>
#include <string_view>

namespace gt {

// Characters the code page cannot hold become '?'; `complete` (if given) tells whether none did.
std::string toWindows1252(std::string_view utf8, bool* complete = nullptr);
std::string fromWindows1252(std::string_view bytes);

// Big5 pairs outside the known characters read as U+FFFD.
std::string toBig5(std::string_view utf8, bool* complete = nullptr);
std::string fromBig5(std::string_view bytes);

}  // namespace gt
