// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <stdexcept>
#include <string>

namespace gt {

// A failure a user can read: "photo.jpg: not a JPEG file (starts with 0x89 0x50)".
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace gt
