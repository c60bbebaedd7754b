// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pipeline/batch_plan.h"

namespace gt {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> outputs(const BatchPlan& plan) {
    std::vector<std::string> names;
    for (const BatchItem& item : plan.items) names.push_back(item.output);
    return names;
}

TEST(BatchPlan, NamesAreAlwaysJpegAndJoinedWithOneSeparator) {
    EXPECT_EQ(batchOutputName("/photos/cat.jpg"), "Graphitello - cat.jpg");
    EXPECT_EQ(batchOutputName("photo.jpeg"), "Graphitello - photo.jpeg");
    EXPECT_EQ(batchOutputName("dir/Photo.JPG"), "Graphitello - Photo.JPG");
    EXPECT_EQ(batchOutputName("x.png"), "Graphitello - x.jpg");
    EXPECT_EQ(batchOutputName("x.bmp"), "Graphitello - x.jpg");
    EXPECT_EQ(batchOutputName("scan"), "Graphitello - scan.jpg");

    // A folder typed without its final separator is not glued to the name.
    EXPECT_EQ(joinFolder("/out", "Graphitello - cat.jpg"), "/out/Graphitello - cat.jpg");
    EXPECT_EQ(joinFolder("/out/", "Graphitello - cat.jpg"), "/out/Graphitello - cat.jpg");
    EXPECT_EQ(joinFolder("", "Graphitello - cat.jpg"), "Graphitello - cat.jpg");
    EXPECT_EQ(planBatch({"/p/cat.jpg"}, "/out").items.at(0).output, "/out/Graphitello - cat.jpg");
}

TEST(BatchPlan, TwoPhotosNeverShareOneDrawing) {
    // The photo that keeps its own name goes first, wherever it is in the list.
    EXPECT_EQ(outputs(planBatch({"/p/x.bmp", "/p/x.jpg"}, "/o")),
              (std::vector<std::string>{"/o/Graphitello - x.bmp.jpg", "/o/Graphitello - x.jpg"}));
    EXPECT_EQ(outputs(planBatch({"/p/x.png", "/p/x.bmp"}, "/o")),
              (std::vector<std::string>{"/o/Graphitello - x.jpg", "/o/Graphitello - x.bmp.jpg"}));
    // Same name in two folders, and names differing only in case: numbered.
    EXPECT_EQ(outputs(planBatch({"/a/x.jpg", "/b/x.jpg", "/c/X.JPG"}, "/o")),
              (std::vector<std::string>{"/o/Graphitello - x.jpg", "/o/Graphitello - x (2).jpg", "/o/Graphitello - X (3).JPG"}));
    // A name made for one photo is not one another photo keeps for itself.
    EXPECT_EQ(outputs(planBatch({"/p/x.bmp", "/q/x.bmp", "/p/x.bmp.jpg", "/p/x.jpg"}, "/o")),
              (std::vector<std::string>{"/o/Graphitello - x (2).jpg", "/o/Graphitello - x (3).jpg", "/o/Graphitello - x.bmp.jpg",
                                        "/o/Graphitello - x.jpg"}));
}

TEST(BatchPlan, APhotoListedTwiceIsDrawnOnceAndExistingDrawingsAreFound) {
    const fs::path dir = fs::temp_directory_path() / "gt_batch_plan_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string a = (dir / "a.jpg").string();
    const BatchPlan plan = planBatch({a, (dir / "." / "a.jpg").string(), (dir / "b.jpg").string()}, dir.string());
    ASSERT_EQ(plan.items.size(), 2u);
    EXPECT_EQ(plan.duplicates, (std::vector<std::string>{(dir / "." / "a.jpg").string()}));
    std::ofstream((dir / "Graphitello - b.jpg").string()) << "old";
    EXPECT_EQ(existingOutputs(plan), (std::vector<std::size_t>{1}));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace gt
