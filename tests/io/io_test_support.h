// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for the picture file tests: a scratch folder per test, small pictures, file bytes.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/error.h"

namespace gt::testing {

namespace fs = std::filesystem;

// The message of the gt::Error that f throws, or "" when it throws none.
template <class F>
std::string errorOf(F f) {
    try {
        f();
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}
using Bytes = std::vector<unsigned char>;

// Smooth colours: JPEG keeps them close.
inline Bitmap pattern(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = b.pixel(x, y);
            p[0] = std::uint8_t(x * 255 / (w > 1 ? w - 1 : 1));
            p[1] = std::uint8_t(y * 255 / (h > 1 ? h - 1 : 1));
            p[2] = std::uint8_t((x + y) * 255 / (w + h));
        }
    return b;
}

inline Bytes fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A fresh empty folder for one test, removed afterwards.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::path(::testing::TempDir()) / (std::string("gt_") + info->test_suite_name() + "_" + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(folder, ec);
    }
    std::string file(const std::string& name) const { return (folder / name).string(); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
};

}  // namespace gt::testing
