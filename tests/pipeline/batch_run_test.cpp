// SPDX-License-Identifier: GPL-3.0-or-later
// The batch's loop: a photo's failure of any kind stays that photo's, the run goes on and counts;
// every photo starts from the same generator state; a cancel stops it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <new>

#include "imaging/error.h"
#include "imaging/test_pictures.h"
#include "pipeline/batch_run.h"
#include "pipeline/render.h"
#include "pipeline_pictures.h"

namespace gt {
namespace {

using testing::builtinResources;
using testing::noisy;

TEST(BatchRun, AFailedPhotoIsItsOwnAndTheOthersAreDrawnAsAlone) {
    const BatchPlan plan = planBatch({"a.jpg", "broken.jpg", "huge.jpg", "kept.jpg", "b.jpg"}, "out");
    BatchSettings settings;
    settings.parameters = defaultParameters(DrawingStyle(1));  // the grey pencil draws from the generator
    settings.random.seed = 7;
    std::map<std::string, Bitmap> written;
    std::vector<std::string> failed;
    BatchSteps steps;
    steps.skip = [](std::size_t i) { return i == 3; };
    steps.read = [](std::size_t, const std::string& input) {
        if (input == "broken.jpg") throw Error("broken.jpg: broken JPEG data");
        if (input == "huge.jpg") throw std::bad_alloc();
        return BatchPhoto{noisy(40, 30, 3), 0};
    };
    steps.write = [&](const Bitmap& drawing, const BatchPhoto&, const std::string& output) {
        written[std::filesystem::path(output).filename().string()] = drawing;
    };
    steps.failed = [&](std::size_t i, const BatchFailure& f) { failed.push_back(std::to_string(i) + " " + f.message); };
    std::atomic<bool> cancel{false};
    const BatchOutcome outcome = runBatch(plan, settings, builtinResources(), nullptr, cancel, steps);

    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(outcome.skipped, 1);
    ASSERT_EQ(outcome.failures.size(), 2u);
    EXPECT_EQ(outcome.failures[0].message, "broken.jpg: broken JPEG data");
    EXPECT_EQ(outcome.failures[0].stage, BatchStage::Read);
    EXPECT_EQ(outcome.failures[1].message, "huge.jpg: not enough memory to draw this photo");
    EXPECT_TRUE(outcome.failures[1].outOfMemory);
    EXPECT_EQ(failed, (std::vector<std::string>{"1 broken.jpg: broken JPEG data", "2 huge.jpg: not enough memory to draw this photo"}));

    // Each drawing is the one a rendering of its own makes from the same generator state.
    RenderContext ctx;
    ctx.random.seed = 7;
    const Bitmap alone = renderDrawing(noisy(40, 30, 3), settings.parameters, builtinResources(), ctx).drawing;
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written["Graphitello - a.jpg"], alone);
    EXPECT_EQ(written["Graphitello - b.jpg"], alone);
}

TEST(BatchRun, ACancelStopsTheRunAndAFailedWriteIsNamed) {
    const BatchPlan plan = planBatch({"a.jpg", "b.jpg", "c.jpg"}, "");
    BatchSettings settings;
    settings.parameters = defaultParameters(DrawingStyle(8));
    std::atomic<bool> cancel{false};
    int reads = 0;
    BatchSteps steps;
    steps.read = [&](std::size_t, const std::string&) {
        ++reads;
        return BatchPhoto{noisy(12, 10, 1), {}};
    };
    steps.write = [&](const Bitmap&, const BatchPhoto&, const std::string& output) {
        if (output == "Graphitello - a.jpg") throw Error("cannot write in the folder");
        cancel.store(true);  // Ctrl-C while b's drawing is written: c is never read
    };
    const BatchOutcome outcome = runBatch(plan, settings, builtinResources(), nullptr, cancel, steps);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(reads, 2);
    ASSERT_EQ(outcome.failures.size(), 1u);
    EXPECT_EQ(outcome.failures[0].message, "a.jpg: cannot write in the folder");
    EXPECT_EQ(outcome.failures[0].stage, BatchStage::Write);

    // Without a style nothing is read.
    settings.parameters.ComboBox1 = -1;
    cancel.store(false);
    EXPECT_THROW(runBatch(plan, settings, builtinResources(), nullptr, cancel, steps), Error);
    EXPECT_EQ(reads, 2);
}

TEST(BatchRun, TheDestinationIsCheckedBeforeAnyWork) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "graphitello-batch-run-test";
    std::filesystem::remove_all(dir);
    EXPECT_EQ(checkBatchFolder(dir.string()), FolderProblem::Missing);
    std::filesystem::create_directories(dir);
    EXPECT_EQ(checkBatchFolder(dir.string()), FolderProblem::None);
    EXPECT_EQ(checkBatchFolder(""), FolderProblem::None);  // the current folder
    {
        std::ofstream((dir / "file").string()) << "x";
    }
    EXPECT_EQ(checkBatchFolder((dir / "file").string()), FolderProblem::NotAFolder);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace gt
