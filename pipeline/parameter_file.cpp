// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/parameter_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "imaging/io/temporary_file.h"
#include "pipeline/legacy_encoding.h"

namespace gt {

namespace {

// Reads lines as the old text-file reader did: a line ends at CR LF, LF or a lone CR; reading at the
// end of the file gives an empty line.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}
    bool atEnd() const { return pos_ >= bytes_.size(); }
    int lineNumber() const { return line_; }
    std::string_view next() {
        ++line_;
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && bytes_[pos_] != '\r' && bytes_[pos_] != '\n') ++pos_;
        const std::string_view text = bytes_.substr(start, pos_ - start);
        if (pos_ < bytes_.size() && bytes_[pos_] == '\r') ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
        return text;
    }
    int linesLeft() const {
        LineReader rest = *this;
        int n = 0;
        while (!rest.atEnd()) {
            rest.next();
            ++n;
        }
        return n;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    int line_ = 0;
};

// What a message quotes of a line: at most 40 bytes, control characters (a NUL among them, which
// would end the message early) shown as '?', and "..." when the line goes on.
std::string excerpt(std::string_view text) {
    constexpr std::size_t kMost = 40;
    std::string bytes(text.substr(0, kMost));
    for (char& c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    std::string shown = fromWindows1252(bytes);
    if (text.size() > kMost) shown += "...";
    return shown;
}

// A decimal integer with an optional sign; leading blanks are allowed, as the old conversion
// allowed them.
int parseNumber(std::string_view text, const std::string& fileName, int line, bool atEnd) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string_view digits = text.substr(i);
    const bool plus = !digits.empty() && digits.front() == '+';
    if (plus) digits.remove_prefix(1);
    const std::string where = fileName + ", line " + std::to_string(line) + ": ";
    if (text.empty() && atEnd) throw Error(where + "a number is missing (the file ends inside a record)");
    int value = 0;
    const char* end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
    const bool twoSigns = plus && !digits.empty() && digits.front() == '-';
    if (digits.empty() || twoSigns || ptr != end || ec == std::errc::invalid_argument)
        throw Error(where + "\"" + excerpt(text) + "\" is not a whole number");
    if (ec == std::errc::result_out_of_range)
        throw Error(where + "\"" + excerpt(text) + "\" is too large for a slider value");
    return value;
}

}  // namespace

std::string withGtlExtension(std::string name) {
    const std::string_view ext = ".gtl";
    if (name.size() < ext.size() || std::string_view(name).substr(name.size() - ext.size()) != ext) name += ext;
    return name;
}

std::string encodeStyleName(std::string_view utf8) {
    // English names are ASCII, the same bytes in both code pages.
    for (Language latin : {Language::French, Language::English})
        for (const std::string& known : styleNames(latin))
            if (known == utf8) return toWindows1252(utf8);
    for (const std::string& known : styleNames(Language::Chinese))
        if (known == utf8) return toBig5(utf8);
    bool complete = false;
    std::string bytes = toWindows1252(utf8, &complete);
    if (complete) return bytes;
    std::string big5 = toBig5(utf8, &complete);
    return complete ? big5 : bytes;
}

std::string decodeStyleName(std::string_view bytes, Language current) {
    for (Language latin : {Language::French, Language::English})
        for (const std::string& known : styleNames(latin))
            if (toWindows1252(known) == bytes) return known;
    for (const std::string& known : styleNames(Language::Chinese))
        if (toBig5(known) == bytes) return known;
    return current == Language::Chinese ? fromBig5(bytes) : fromWindows1252(bytes);
}

std::string encodeParameterFile(const ParameterTable& table, const StyleNames& names) {
    std::string out;
    for (int i = 0; i < kStoredRows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        out += encodeStyleName(names[row]);
        out += "\r\n";
        for (int slot = 0; slot < kSliderCount; ++slot) {
            out += std::to_string(table[row][static_cast<std::size_t>(slot)]);
            out += "\r\n";
        }
    }
    return out;
}

void saveParameterFile(const std::string& path, const ParameterTable& table, const StyleNames& names) {
    const std::string bytes = encodeParameterFile(table, names);
    TemporaryFile file(path, path);
    file.write(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    file.close();
    file.commit();
}

ParameterFileLoad readParameterFile(std::string_view bytes, const std::string& fileName, Language current,
                                    ParameterTable& table, StyleNames& names) {
    ParameterFileLoad result;
    if (bytes.empty()) throw Error(fileName + ": the file is empty; it holds no parameters");
    LineReader lines(bytes);
    for (int i = 0; !lines.atEnd(); ++i) {
        if (i == kStyleCount) {
            // The style list has nine entries; the old program failed on a tenth record.
            const int ignored = lines.linesLeft();
            result.warning = "more than " + std::to_string(kStyleCount) + " records; only the first " +
                             std::to_string(kStyleCount) + " were read and the remaining " + std::to_string(ignored) +
                             (ignored == 1 ? " line was" : " lines were") + " ignored";
            break;
        }
        const auto row = static_cast<std::size_t>(i);
        names[row] = decodeStyleName(lines.next(), current);
        for (int slot = 0; slot < kSliderCount; ++slot) {
            const bool atEnd = lines.atEnd();
            const std::string_view text = lines.next();
            const int value = parseNumber(text, fileName, lines.lineNumber(), atEnd);
            table[row][static_cast<std::size_t>(slot)] = value;
            // The slider cannot show a value beyond its range: the style will use the nearest end.
            const bool shown = slot < kSlotTrackBar4 || i == styleIndex(DrawingStyle::PencilDrawing) ||
                               i == styleIndex(DrawingStyle::PencilDrawingColour);
            const SliderRange range = sliderRange(i, slot);
            if (shown && !range.contains(value))
                result.clamped.push_back("line " + std::to_string(lines.lineNumber()) + ": " + std::to_string(value) +
                                         " is outside the range of " + std::string(sliderName(slot)) + " (" +
                                         std::to_string(range.minimum) + ".." + std::to_string(range.maximum) + "); " +
                                         std::to_string(range.clamp(value)) + " is used");
        }
        result.records = i + 1;
    }
    return result;
}

ParameterFileLoad loadParameterFile(const std::string& path, Language current, ParameterTable& table, StyleNames& names) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::exists(fs::path(path), ec)) throw ParameterFileNotFound();
    if (fs::is_directory(fs::path(path), ec)) throw Error(path + ": cannot read (it is a folder)");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw Error(path + ": cannot read (" + std::strerror(errno) + ")");
    // A parameter file holds a few hundred bytes. A longer one is refused unread; a pipe or a device
    // that never ends is read only up to the limit.
    const std::string tooLarge = path + ": too large for a parameter file (more than " +
                                 std::to_string(kMaxParameterFileBytes / 1024 / 1024) + " MB)";
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > static_cast<off_t>(kMaxParameterFileBytes)) {
        ::close(fd);
        throw Error(tooLarge);
    }
    std::string bytes;
    char piece[4096];
    for (;;) {
        const ssize_t n = ::read(fd, piece, sizeof piece);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || bytes.size() + static_cast<std::size_t>(n) > kMaxParameterFileBytes) {
            const std::string reason = n < 0 ? std::strerror(errno) : "";
            ::close(fd);
            if (n < 0) throw Error(path + ": cannot read (" + reason + ")");
            if (n > 0) throw Error(tooLarge);
            break;
        }
        bytes.append(piece, static_cast<std::size_t>(n));
    }
    return readParameterFile(bytes, path, current, table, names);
}

void resetParameterTable(ParameterTable& table) {
    const ParameterTable defaults = defaultParameterTable();
    for (std::size_t row = 0; row < kStoredRows; ++row)
        for (std::size_t slot = 0; slot < kSliderCount; ++slot) table[row][slot] = defaults[row][slot];
}

}  // namespace gt
