// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every file the program writes (pictures, the wallpaper, parameter files) goes through here, and
// nothing is put in the place of what is not ours to replace:
// - a symbolic link is followed to the file its chain ends at; that file is replaced and the link
//   stays a link;
// - a regular file or a new name gets a new file that takes the target's place only when it is
//   complete. Until then it has no name where the system allows it (Linux: O_TMPFILE, linked in at
//   the end), so even a process killed in the middle of the write leaves nothing behind; elsewhere
//   it is a hidden ".NAME.PID-N.tmp" beside the target, and such leftovers of dead processes are
//   removed by the next write into the folder;
// - anything else that is there (a named pipe, a device such as /dev/null or /dev/stdout) is written
//   straight through, and a failure to write is said like any other.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace gt {

// Where a write to a path lands: the end of its chain of symbolic links (which need not exist yet)
// and what is there now.
struct Destination {
    enum class Kind { New, Regular, Folder, Other };
    std::filesystem::path path;
    Kind kind = Kind::New;
};
// `shownName` starts the error message of a chain of links that never ends.
Destination findDestination(const std::filesystem::path& target, const std::string& shownName);

// Throws gt::Error, one line starting with `shownName`, when a write to `target` cannot succeed for
// where it goes: the folder is missing, not a folder or not writable, the target is a folder, or a
// pipe or device we may not write. Costs a few system calls, so commands call it before any work.
void checkDestination(const std::filesystem::path& target, const std::string& shownName);

class TemporaryFile {
public:
    // `shownName` starts the error messages. Throws gt::Error when the target cannot be written.
    // Opening a named pipe waits for its reader, as writing to a pipe does.
    TemporaryFile(const std::filesystem::path& target, const std::string& shownName);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Buffers small pieces (a BMP row at a time) into large writes.
    void write(const unsigned char* data, std::size_t size);
    // Everything written reaches the disk (or the pipe or device); the target is not touched yet.
    void close();
    // The file takes the target's name, replacing what was there in one step.
    void commit();

    // True when the file has no name until commit() (kept for the tests).
    bool unnamed() const { return !straightThrough_ && path_.empty(); }
    // True when the target is a pipe or device that is written as it is.
    bool straightThrough() const { return straightThrough_; }

private:
    void flush();
    void writeAll(const unsigned char* data, std::size_t size);
    void openNamed(const std::filesystem::path& folder);
    std::filesystem::path temporaryName() const;
    [[noreturn]] void failed() const;

    std::filesystem::path target_;  // the end of the link chain
    std::string shownName_;
    std::filesystem::path path_;  // empty while the file has no name
    int fd_ = -1;
    bool straightThrough_ = false;
    bool committed_ = false;
    std::vector<unsigned char> buffer_;
};

// Removes the hidden temporaries (".NAME.PID-N.tmp", NAME a picture or parameter file we write)
// that processes no longer running left in `folder`. Returns how many were removed.
int removeStaleTemporaries(const std::filesystem::path& folder);

}  // namespace gt
