// SPDX-License-Identifier: GPL-3.0-or-later
#include "imaging/io/temporary_file.h"

#include <fcntl.h>
#include <pthread.h>
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
#include "imaging/io/picture_io.h"

namespace gt {

namespace fs = std::filesystem;

namespace {

std::string systemError() { return std::strerror(errno); }

bool isDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

// The files whose leftover temporaries we remove: the pictures we write and parameter files.
bool writtenByUs(std::string ext) {
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".gtl") return true;
    for (const PictureExtension& known : kPictureExtensions)
        if (ext == std::string(".") + known.name) return true;
    return false;
}

// ".photo.jpg.1234-5678.tmp" -> 1234, for the names of the files we write; 0 for anything else.
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
    return writtenByUs(fs::path(picture).extension().string()) ? std::stol(numbers.substr(0, dash)) : 0;
}

fs::path folderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// Symbolic links in a row before the chain is taken for a loop, as the system counts them.
constexpr int kMostLinks = 40;

}  // namespace

Destination findDestination(const fs::path& target, const std::string& shownName) {
    const std::string loop = shownName + ": cannot write (" + std::strerror(ELOOP) + ")";
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        // Something is there. The system follows every link, those of /proc/self/fd (/dev/stdout)
        // too, which name pipes and terminals by no path of their own: those are opened as given.
        if (S_ISDIR(st.st_mode)) return {target, Destination::Kind::Folder};
        if (!S_ISREG(st.st_mode)) return {target, Destination::Kind::Other};
        std::error_code ec;
        const fs::path real = fs::canonical(target, ec);
        if (!ec) return {real, Destination::Kind::Regular};
    } else if (errno == ELOOP) {
        throw Error(loop);
    }
    // Nothing there yet: a link to nothing makes the file it names.
    Destination d{target, Destination::Kind::New};
    for (int links = 0;; ++links) {
        // Anything that cannot be looked at is taken for a new name; opening it says why it fails.
        if (::lstat(d.path.c_str(), &st) != 0) return d;
        if (!S_ISLNK(st.st_mode)) {
            d.kind = S_ISREG(st.st_mode) ? Destination::Kind::Regular
                     : S_ISDIR(st.st_mode) ? Destination::Kind::Folder
                                           : Destination::Kind::Other;
            return d;
        }
        if (links == kMostLinks) throw Error(loop);
        std::error_code ec;
        const fs::path next = fs::read_symlink(d.path, ec);
        if (ec) throw Error(shownName + ": cannot write (" + ec.message() + ")");
        d.path = next.is_absolute() ? next : d.path.parent_path() / next;
    }
}

void checkDestination(const fs::path& target, const std::string& shownName) {
    const Destination d = findDestination(target, shownName);
    if (d.kind == Destination::Kind::Folder) throw Error(shownName + ": cannot write (it is a folder)");
    if (d.kind == Destination::Kind::Other) {
        if (::access(d.path.c_str(), W_OK) != 0) throw Error(shownName + ": cannot write (" + systemError() + ")");
        return;
    }
    const fs::path folder = folderOf(d.path);
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) errno = ENOTDIR;
    else if (::access(folder.c_str(), W_OK | X_OK) == 0) return;
    throw Error(shownName + ": cannot write in the folder " + folder.string() + " (" + systemError() + ")");
}

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

TemporaryFile::TemporaryFile(const fs::path& target, const std::string& shownName) : shownName_(shownName) {
    const Destination destination = findDestination(target, shownName);
    target_ = destination.path;
    if (destination.kind == Destination::Kind::Folder) throw Error(shownName_ + ": cannot write (it is a folder)");
    if (destination.kind == Destination::Kind::Other) {
        // A pipe or a device is not ours to replace: what we write goes into it as it is.
        straightThrough_ = true;
        fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) failed();
        return;
    }
    const fs::path folder = folderOf(target_);
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
    if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) (void)::fchmod(fd_, old.st_mode & 07777);
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
    if (straightThrough_) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) failed();
        return;
    }
    if (::fsync(fd_) != 0 && errno != EINVAL) failed();
    // An unnamed file stays open: the descriptor is all there is of it until commit() names it.
    if (!path_.empty()) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) failed();
    }
}

void TemporaryFile::commit() {
    if (straightThrough_) {
        committed_ = true;
        return;
    }
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
    // A pipe whose reader has gone is a failed write like any other, not the end of the program:
    // its signal is held back while this thread writes, and taken away if the write raised it.
    sigset_t pipeSignal, before;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    const bool holdSignal = straightThrough_ && size > 0 && ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &before) == 0;
    int error = 0;
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR) continue;
        // A device that takes nothing more would be asked forever.
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    if (holdSignal) {
        const timespec now{0, 0};
        if (error == EPIPE && !sigismember(&before, SIGPIPE)) (void)::sigtimedwait(&pipeSignal, nullptr, &now);
        ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    }
    if (error != 0) {
        errno = error;
        failed();
    }
}

void TemporaryFile::failed() const { throw Error(shownName_ + ": cannot write (" + systemError() + ")"); }

}  // namespace gt
