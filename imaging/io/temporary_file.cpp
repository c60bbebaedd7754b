// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/io/temporary_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#include "imaging/error.h"

namespace gt {

namespace fs = std::filesystem;

namespace {

std::string systemError() { return std::strerror(errno); }

bool isDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

// ".photo.jpg.1234-5678.tmp" -> 1234, for the names of the pictures we write; 0 for anything else.
long temporaryOwner(const std::string& name) {
    if (name.size() < 8 || name[0] != '.' || name.compare(name.size() - 4, 4, ".tmp") != 0) return 0;
    const std::string middle = name.substr(1, name.size() - 5);  // "photo.jpg.1234-5678"
    const std::size_t dot = middle.rfind('.');
    if (dot == std::string::npos) return 0;
    const std::string numbers = middle.substr(dot + 1), picture = middle.substr(0, dot);
    const std::size_t dash = numbers.find('-');
    if (dash == std::string::npos || !isDigits(numbers.substr(0, dash)) || !isDigits(numbers.substr(dash + 1)) ||
        dash > 9)
        return 0;
    std::string ext = fs::path(picture).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext != ".jpg" && ext != ".jpeg" && ext != ".bmp" && ext != ".png") return 0;
    return std::stol(numbers.substr(0, dash));
}

fs::path folderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

}  // namespace

int removeStaleTemporaries(const fs::path& folder) {
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const long owner = temporaryOwner(it->path().filename().string());
        if (owner <= 0 || owner == ::getpid()) continue;
        // Only a process that no longer exists; one that runs may be writing it now.
        if (::kill(static_cast<pid_t>(owner), 0) == 0 || errno != ESRCH) continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored) && fs::remove(it->path(), ignored)) ++removed;
    }
    return removed;
}

TemporaryFile::TemporaryFile(const fs::path& target, const std::string& shownName) : target_(target), shownName_(shownName) {
    const fs::path folder = folderOf(target);
    removeStaleTemporaries(folder);
#ifdef O_TMPFILE
    // 0666 less the umask, as for any new file. File systems without unnamed files say so at once.
    fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT)
        throw Error(shownName_ + ": cannot write in the folder " + folder.string() + " (" + systemError() + ")");
    // O_TMPFILE may be unknown to an older kernel, which then opens the folder itself: not a file.
    if (fd_ >= 0) {
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd_);
            fd_ = -1;
        }
    }
#endif
    if (fd_ < 0) openNamed(folder);
    // Replacing a file keeps its permissions.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) (void)::fchmod(fd_, old.st_mode & 07777);
}

fs::path TemporaryFile::temporaryName() const {
    static std::minstd_rand draw(std::random_device{}());
    std::string name = ".";
    name.append(target_.filename().string()).append(".").append(std::to_string(::getpid()));
    name.append("-").append(std::to_string(draw())).append(".tmp");
    return folderOf(target_) / name;
}

void TemporaryFile::openNamed(const fs::path& folder) {
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        path_ = temporaryName();
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        path_.clear();
        throw Error(shownName_ + ": cannot write in the folder " + folder.string() + " (" + systemError() + ")");
    }
}

TemporaryFile::~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !path_.empty()) ::unlink(path_.c_str());
}

void TemporaryFile::write(const unsigned char* data, std::size_t size) {
    constexpr std::size_t kBufferSize = 1 << 20;
    if (buffer_.size() + size > kBufferSize) flush();
    if (size >= kBufferSize) {
        writeAll(data, size);
    } else {
        buffer_.insert(buffer_.end(), data, data + size);
    }
}

void TemporaryFile::close() {
    flush();
    if (::fsync(fd_) != 0 && errno != EINVAL) failed();
    // An unnamed file stays open: the descriptor is all there is of it until commit() names it.
    if (!path_.empty()) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) failed();
    }
}

void TemporaryFile::commit() {
    if (path_.empty()) {
        // Linked straight in when the target is new; otherwise under a hidden name for the moment
        // the rename takes, so the old file is replaced in one step.
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            committed_ = true;
            return;
        }
        if (errno != EEXIST) throw Error(shownName_ + ": cannot write (" + systemError() + ")");
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const fs::path name = temporaryName();
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) path_ = name;
            else if (errno != EEXIST) break;
        }
        if (path_.empty()) throw Error(shownName_ + ": cannot write (" + systemError() + ")");
    }
    if (::rename(path_.c_str(), target_.c_str()) != 0)
        throw Error(shownName_ + ": cannot replace the file (" + systemError() + ")");
    committed_ = true;
}

void TemporaryFile::flush() {
    writeAll(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void TemporaryFile::writeAll(const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            failed();
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void TemporaryFile::failed() const { throw Error(shownName_ + ": cannot write (" + systemError() + ")"); }

}  // namespace gt
