// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/presets.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "pipeline/builtin_presets.h"

namespace gt {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxPresetBytes = 64 * 1024;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// Whether the bytes are UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool isUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        unsigned code = 0;
        if (c < 0x80) { ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) { extra = 1; code = c & 0x1F; }
        else if (c >= 0xE0 && c <= 0xEF) { extra = 2; code = c & 0x0F; }
        else if (c >= 0xF0 && c <= 0xF4) { extra = 3; code = c & 0x07; }
        else return false;
        if (i + extra >= s.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            code = (code << 6) | (d & 0x3F);
        }
        if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) || (extra == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

// A value that needs quotes to come back as it is.
std::string quotedIfNeeded(const std::string& value) {
    const bool needs = !value.empty() && (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
                                          value.back() == '\t' || value.front() == '"');
    return needs ? "\"" + value + "\"" : value;
}

}  // namespace

std::string presetText(const DrawingParameters& p) {
    std::string text = std::string(kPresetMagic) + " " + std::to_string(kPresetFormat) + "\n";
    for (const auto& [key, value] : drawingOptionsOf(p)) text += key + " = " + quotedIfNeeded(value) + "\n";
    return text;
}

PresetRead readPresetText(std::string_view text, const std::string& where) {
    PresetRead read;
    if (text.size() > kMaxPresetBytes) throw PresetError(where + ": too large for a preset (more than 64 KiB)");
    if (!isUtf8(text)) throw PresetError(where + ": not a preset: the file is not UTF-8 text");
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool headerSeen = false;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        const std::string_view line = trimmed(raw);
        if (line.empty() || line.front() == '#') continue;
        const std::string at = where + ", line " + std::to_string(lineNumber) + ": ";
        if (!headerSeen) {
            const std::string magic(kPresetMagic);
            if (line.substr(0, magic.size() + 1) != magic + " ")
                throw PresetError(where + ": not a preset (the first line should be \"" + magic + " " +
                                  std::to_string(kPresetFormat) + "\")");
            const std::string_view version = trimmed(line.substr(magic.size() + 1));
            if (version != std::to_string(kPresetFormat)) {
                const bool newer = !version.empty() && std::all_of(version.begin(), version.end(), [](char c) { return c >= '0' && c <= '9'; });
                throw PresetError(where + (newer ? ": a preset of format " + std::string(version) + ", newer than this program reads (" +
                                                       std::to_string(kPresetFormat) + ")"
                                                 : ": not a preset (unknown format \"" + std::string(version) + "\")"));
            }
            headerSeen = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || trimmed(line.substr(0, equals)).empty())
            throw PresetError(at + "expected a setting as KEY = VALUE");
        const std::string key(trimmed(line.substr(0, equals)));
        std::string_view value = trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (!isDrawingOption(key)) {
            read.warnings.push_back(at + "unknown setting \"" + key + "\", skipped");
            continue;
        }
        if (read.values.count(key)) throw PresetError(at + key + " is set twice");
        read.values.emplace(key, std::string(value));
    }
    if (!headerSeen) throw PresetError(where + ": not a preset (the file is empty)");
    try {
        const DrawingOptionsRead options = readDrawingOptions(read.values);
        read.parameters = options.parameters;
        applySliders(options, read.parameters);
        checkParameters(read.parameters);
        for (const std::string& w : options.warnings) read.warnings.push_back(where + ": " + w);
    } catch (const Error& e) {
        // The option's own words, without the dashes of the command line.
        std::string message = e.what();
        if (message.rfind("--", 0) == 0) message.erase(0, 2);
        throw PresetError(where + ": " + message);
    }
    return read;
}

PresetRead readPresetFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    if (!in || fs::is_directory(path, ec)) throw PresetError(path + ": no such preset file");
    std::string bytes(kMaxPresetBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return readPresetText(bytes, path);
}

void writePresetFile(const std::string& path, const DrawingParameters& p) {
    const std::string text = presetText(p);
    const fs::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    fs::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (out) out.close();
        if (!out) {
            const std::string reason = std::strerror(errno);
            fs::remove(temporary, ec);
            throw Error(path + ": cannot write (" + reason + ")");
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        const std::string reason = ec.message();
        fs::remove(temporary, ec);
        throw Error(path + ": cannot write (" + reason + ")");
    }
}

PresetNameFault presetNameFault(std::string_view name) {
    if (trimmed(name).empty()) return PresetNameFault::Empty;
    if (name.size() > 100) return PresetNameFault::TooLong;
    if (name.front() == '.' || name.front() == ' ' || name.back() == ' ') return PresetNameFault::Edge;
    for (const char c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return PresetNameFault::Character;
    if (!isUtf8(name)) return PresetNameFault::NotUtf8;
    return PresetNameFault::None;
}

std::string presetNameProblem(std::string_view name) {
    switch (presetNameFault(name)) {
        case PresetNameFault::None: return {};
        case PresetNameFault::Empty: return "a preset needs a name";
        case PresetNameFault::TooLong: return "a preset's name is at most 100 bytes long";
        case PresetNameFault::Edge: return "a preset's name cannot begin with a dot or a blank, or end with a blank";
        case PresetNameFault::Character: return "a preset's name cannot hold / or \\ or control characters";
        case PresetNameFault::NotUtf8: return "a preset's name must be UTF-8 text";
    }
    return {};
}

std::string userPresetFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (data && *data && fs::path(data).is_absolute()) base = data;
    else if (const char* home = std::getenv("HOME"); home && *home) base = fs::path(home) / ".local" / "share";
    else base = fs::path(".local") / "share";
    return (base / "graphitello" / "presets").string();
}

const std::vector<PresetEntry>& builtInPresets() {
    static const std::vector<PresetEntry> entries = [] {
        std::vector<PresetEntry> list;
        for (const BuiltInPresetSource& source : builtInPresetSources()) {
            PresetEntry e;
            e.name = std::string(source.name);
            e.builtIn = true;
            e.text = std::string(source.text);
            list.push_back(std::move(e));
        }
        return list;
    }();
    return entries;
}

std::vector<PresetEntry> userPresets(const std::string& folder) {
    std::vector<PresetEntry> list;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        if (path.extension() != kPresetExtension || !it->is_regular_file(ec)) continue;
        PresetEntry e;
        e.name = path.stem().string();
        if (!presetNameProblem(e.name).empty()) continue;
        e.path = path.string();
        list.push_back(std::move(e));
    }
    std::sort(list.begin(), list.end(), [](const PresetEntry& a, const PresetEntry& b) { return a.name < b.name; });
    return list;
}

std::vector<PresetEntry> allPresets(const std::string& folder) {
    std::vector<PresetEntry> list = builtInPresets();
    for (PresetEntry& e : userPresets(folder)) {
        const bool shadowed = std::any_of(builtInPresets().begin(), builtInPresets().end(),
                                          [&](const PresetEntry& b) { return b.name == e.name; });
        if (!shadowed) list.push_back(std::move(e));
    }
    return list;
}

std::optional<PresetEntry> findPreset(std::string_view name, const std::string& folder) {
    for (PresetEntry& e : allPresets(folder))
        if (e.name == name) return std::move(e);
    return std::nullopt;
}

PresetRead readPreset(const PresetEntry& entry) {
    if (entry.builtIn) return readPresetText(entry.text, entry.name + " (built in)");
    return readPresetFile(entry.path);
}

std::string userPresetPath(const std::string& folder, std::string_view name) {
    return (fs::path(folder) / (std::string(name) + std::string(kPresetExtension))).string();
}

bool isBuiltInPresetName(std::string_view name) {
    return std::any_of(builtInPresets().begin(), builtInPresets().end(), [&](const PresetEntry& b) { return b.name == name; });
}

void renameUserPreset(const PresetEntry& entry, std::string_view newName) {
    const fs::path from(entry.path);
    std::error_code ec;
    fs::rename(from, from.parent_path() / (std::string(newName) + std::string(kPresetExtension)), ec);
    if (ec) throw Error(entry.path + ": cannot rename (" + ec.message() + ")");
}

void deleteUserPreset(const PresetEntry& entry) {
    std::error_code ec;
    if (!fs::remove(entry.path, ec) || ec) throw Error(entry.path + ": cannot delete (" + (ec ? ec.message() : std::string("no such file")) + ")");
}

}  // namespace gt
