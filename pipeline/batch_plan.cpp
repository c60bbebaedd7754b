// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/batch_plan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <set>

namespace gt {

namespace fs = std::filesystem;

namespace {

std::string lowerCase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool keepsItsName(const fs::path& name) {
    const std::string ext = lowerCase(name.extension().string());
    return ext == ".jpg" || ext == ".jpeg";
}

// The same photo however it was written: "a/./b.jpg" and "a/b.jpg", relative or not.
std::string samePhotoKey(const std::string& input) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::path(input), ec);
    if (ec) p = fs::absolute(fs::path(input), ec).lexically_normal();
    return p.string();
}

}  // namespace

std::string batchOutputName(const std::string& input) {
    fs::path name = fs::path(input).filename();
    if (!keepsItsName(name)) name.replace_extension(".jpg");
    return kBatchNamePrefix + name.string();
}

std::string joinFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return (fs::path(folder) / name).string();
}

BatchPlan planBatch(const std::vector<std::string>& inputs, const std::string& folder) {
    BatchPlan plan;
    std::set<std::string> photos;
    std::vector<std::string> firstInputs;
    for (const std::string& input : inputs) {
        if (photos.insert(samePhotoKey(input)).second) firstInputs.push_back(input);
        else plan.duplicates.push_back(input);
    }

    std::set<std::string> taken;  // lower-cased names
    std::vector<std::optional<std::string>> names(firstInputs.size());
    auto claim = [&](std::size_t i, const std::string& name) {
        if (!taken.insert(lowerCase(name)).second) return false;
        names[i] = name;
        return true;
    };
    // Photos that keep their own name first, then the others, each in list order.
    for (std::size_t i = 0; i < firstInputs.size(); ++i)
        if (keepsItsName(fs::path(firstInputs[i]).filename())) claim(i, batchOutputName(firstInputs[i]));
    for (std::size_t i = 0; i < firstInputs.size(); ++i) {
        if (names[i]) continue;
        const fs::path own = fs::path(firstInputs[i]).filename();
        const std::string base = batchOutputName(firstInputs[i]);
        if (claim(i, base)) continue;
        if (!keepsItsName(own) && claim(i, kBatchNamePrefix + own.string() + ".jpg")) continue;
        const fs::path b(base);
        const std::string stem = b.stem().string(), ext = b.extension().string();
        for (int n = 2; !claim(i, stem + " (" + std::to_string(n) + ")" + ext); ++n) {
        }
    }
    for (std::size_t i = 0; i < firstInputs.size(); ++i) plan.items.push_back({firstInputs[i], joinFolder(folder, *names[i])});
    return plan;
}

std::vector<std::size_t> existingOutputs(const BatchPlan& plan) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        std::error_code ec;
        if (fs::exists(plan.items[i].output, ec)) found.push_back(i);
    }
    return found;
}

}  // namespace gt
