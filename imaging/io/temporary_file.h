// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A new file that takes the place of a target only when it is complete. Until then it has no name
// where the system allows it (Linux: O_TMPFILE, linked in at the end), so even a process killed in
// the middle of the write leaves nothing behind; elsewhere it is a hidden ".NAME.PID-N.tmp" beside
// the target, and such leftovers of dead processes are removed by the next write into the folder.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace gt {

class TemporaryFile {
public:
    // `shownName` starts the error messages. Throws gt::Error when the folder cannot be written.
    TemporaryFile(const std::filesystem::path& target, const std::string& shownName);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Buffers small pieces (a BMP row at a time) into large writes.
    void write(const unsigned char* data, std::size_t size);
    // Everything written reaches the disk; the target is not touched yet.
    void close();
    // The file takes the target's name, replacing what was there in one step.
    void commit();

    // True when the file has no name until commit() (kept for the tests).
    bool unnamed() const { return path_.empty(); }

private:
    void flush();
    void writeAll(const unsigned char* data, std::size_t size);
    void openNamed(const std::filesystem::path& folder);
    std::filesystem::path temporaryName() const;
    [[noreturn]] void failed() const;

    std::filesystem::path target_;
    std::string shownName_;
    std::filesystem::path path_;  // empty while the file has no name
    int fd_ = -1;
    bool committed_ = false;
    std::vector<unsigned char> buffer_;
};

// Removes the hidden temporaries (".NAME.PID-N.tmp", NAME a picture we write) that processes no
// longer running left in `folder`. Returns how many were removed.
int removeStaleTemporaries(const std::filesystem::path& folder);

}  // namespace gt
