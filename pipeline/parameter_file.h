// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Parameter files (.gtl): the slider values of styles 0..7 with the names of the style list, as
// the old program wrote them: records of six lines (the style's name, then TrackBar1, TrackBar2,
// TrackBar5, TrackBar3, TrackBar4 as decimal integers), CR LF line ends, names in Windows-1252
// (French) or Big5 (Chinese). English names are ASCII, which both code pages read alike, so the old
// program reads an English file in either language. A record's position, not its name, says which
// style it belongs to.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/error.h"
#include "pipeline/styles.h"

namespace gt {

inline constexpr const char* kDefaultParameterFileName = "Params.gtl";
// A parameter file holds a few hundred bytes; anything longer than this is refused unread.
inline constexpr std::size_t kMaxParameterFileBytes = 1024 * 1024;

// The load command's message for a file that is not there; the same text in both languages.
class ParameterFileNotFound : public Error {
public:
    ParameterFileNotFound() : Error("檔案沒有找到") {}
};

// The save command's name rule: ".gtl" is appended unless the name already ends in exactly ".gtl"
// (so "a.GTL" becomes "a.GTL.gtl").
std::string withGtlExtension(std::string name);

// A style name in the file's code page, and back: the known names of both languages are recognised
// by their bytes; any other name is read in the current language's code page (Windows-1252 for
// English).
std::string encodeStyleName(std::string_view utf8);
std::string decodeStyleName(std::string_view bytes, Language current);

// The 48 lines of rows 0..7 with names 0..7.
std::string encodeParameterFile(const ParameterTable& table, const StyleNames& names);
// Written as pictures are: a failed write leaves an existing file as it was, a link is followed and
// a pipe or device written straight through. The caller has applied the name rule.
void saveParameterFile(const std::string& path, const ParameterTable& table, const StyleNames& names);

struct ParameterFileLoad {
    int records = 0;      // records read (the first 9 at most)
    std::string warning;  // not empty when the file had more records than the style list (without the file's name)
    // One line for each value beyond its slider's range, naming the line and the value used
    // (without the file's name): "line 4: 300 is outside the range of TrackBar1 (0..255); 255 is used".
    std::vector<std::string> clamped;
};

// Reads records in file order into table rows 0.. and names 0.., at most 9. An empty file is an
// error. Values beyond a slider's range are kept as they are and listed in `clamped`. Messages
// quote at most a short printable excerpt of a line. Lines may end in CR LF,
// LF or CR. A line that is not a decimal integer where a number belongs (an empty line at the end
// of the file included) stops the load with a gt::Error naming the file and the line; what was read
// before it, the name of the record being read included, stays in the table and the names.
// fileName only labels messages.
ParameterFileLoad readParameterFile(std::string_view bytes, const std::string& fileName, Language current,
                                    ParameterTable& table, StyleNames& names);
// The same from a file; ParameterFileNotFound when the file is not there. A file longer than
// kMaxParameterFileBytes is refused before it is read.
ParameterFileLoad loadParameterFile(const std::string& path, Language current, ParameterTable& table, StyleNames& names);

// The reset command's table part: the built-in rows 0..7; rows 8..10 and the names stay.
void resetParameterTable(ParameterTable& table);

}  // namespace gt
