// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <stdexcept>
#include <string>

namespace gt {

// What kind of failure a picture file met, for a window that tells it in its own language; the
// message itself stays the exact English text.
// Cancelled: the reading was stopped by its cancel flag, nothing is wrong with the file.
enum class ErrorKind { Other, NotAPicture, Damaged, TooLarge, UnsupportedKind, Cancelled };

// A failure a user can read: "photo.jpg: not a JPEG file (starts with 0x89 0x50)".
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    Error(const std::string& message, ErrorKind kind) : std::runtime_error(message), kind_(kind) {}
    ErrorKind kind() const { return kind_; }

private:
    ErrorKind kind_ = ErrorKind::Other;
};

}  // namespace gt
