// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names a batch run gives its drawings, decided for the whole list before the first photo is
// read, so that the window and the command line write the same files and no photo can take another
// one's name by failing first.
//
// A drawing is named "Graphitello - " and the photo's file name; its content is always JPEG, so a
// photo whose name does not end in .jpg or .jpeg gets ".jpg" in place of its extension. When two
// photos of one list would get one name (x.jpg and x.bmp, or two x.jpg from different folders),
// both are drawn: a photo that keeps its own name goes first, the other one keeps its whole name
// before ".jpg" ("Graphitello - x.bmp.jpg"), and a name still taken gets a number ("x (2).jpg").
// Names are compared without regard to case, as the file systems of two of our three systems do.

#include <cstddef>
#include <string>
#include <vector>

namespace gt {

inline constexpr const char* kBatchNamePrefix = "Graphitello - ";

// The drawing's own name for a photo, folder dropped: "Graphitello - cat.jpg".
std::string batchOutputName(const std::string& input);

// The folder and the name joined with one separator; an empty folder means the current one.
std::string joinFolder(const std::string& folder, const std::string& name);

struct BatchItem {
    std::string input;   // the photo, as listed
    std::string output;  // the drawing's path in the destination folder
};

struct BatchPlan {
    std::vector<BatchItem> items;         // in list order, one per photo
    std::vector<std::string> duplicates;  // photos listed more than once: drawn once, at their first place
};

BatchPlan planBatch(const std::vector<std::string>& inputs, const std::string& folder);

// The places in the plan whose drawing exists already.
std::vector<std::size_t> existingOutputs(const BatchPlan& plan);

}  // namespace gt
