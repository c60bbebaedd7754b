// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The batch's one loop, run by the batch window (on a worker) and by `graphitello-cli batch`: for
// each photo of the plan, read it, draw it with the settings taken when the run started, write the
// drawing. Each photo starts from the same generator state, so a photo comes out of a batch exactly
// as a rendering of its own draws it, whatever came before it in the list.
//
// Reading and writing are the caller's (the core reads no files); whatever they carry from the
// photo to its drawing (the camera data) rides along in BatchPhoto::carried. A photo that fails in
// any way, memory running out included, is that photo's failure, named in its message; the run goes
// on with the next one. A cancel stops the run between photos or inside a rendering; the photo being
// drawn then gets no drawing.

#include <any>
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/random.h"
#include "imaging/resources.h"
#include "pipeline/batch_plan.h"
#include "pipeline/parameters.h"

namespace gt {

class GlyphRenderer;

struct BatchPhoto {
    Bitmap picture;
    std::any carried;  // what the reader hands on to the writer
};

// Where a photo failed: a window words its own message from this, in its own language.
enum class BatchStage { Read, Draw, Write };

struct BatchFailure {
    std::string input;
    std::string message;  // names the photo
    BatchStage stage = BatchStage::Read;
    bool outOfMemory = false;
};

// What the loop cannot do by itself. `read` and `write` throw for a photo that cannot be read or a
// drawing that cannot be written; every other member may be left empty. The rendering takes the
// photo's picture over, so `write` finds only what the reader carried.
struct BatchSteps {
    std::function<BatchPhoto(std::size_t index, const std::string& input)> read;
    std::function<void(const Bitmap& drawing, const BatchPhoto& photo, const std::string& output)> write;
    // True for a photo whose drawing is not to be made (it exists and stays).
    std::function<bool(std::size_t index)> skip;
    // A photo's turn begins; it was read; it was drawn; its drawing was written.
    std::function<void(std::size_t index)> starting;
    std::function<void(std::size_t index, const BatchPhoto& photo)> photoRead;
    std::function<void(std::size_t index, const Bitmap& drawing)> drawn;
    std::function<void(std::size_t index)> written;
    // A photo failed (the failure's message names it).
    std::function<void(std::size_t index, const BatchFailure& failure)> failed;
    // Where a photo's rendering reports its progress.
    std::function<ProgressSink(std::size_t index)> progress;
};

struct BatchSettings {
    DrawingParameters parameters;  // taken when the run starts; a style must be chosen
    Random random;                 // the generator state every photo starts from
    int drawingWidth = 0;          // the drawing pane's size; 0: each photo's own size
    int drawingHeight = 0;
};

struct BatchOutcome {
    int written = 0;
    int skipped = 0;
    std::vector<BatchFailure> failures;
    bool cancelled = false;
};

// `glyphs` draws the letters and is needed only when the text is on. The steps are called on the
// thread that runs the loop.
BatchOutcome runBatch(const BatchPlan& plan, const BatchSettings& settings, const Resources& resources, GlyphRenderer* glyphs,
                      std::atomic<bool>& cancel, const BatchSteps& steps);

// What is wrong with a destination folder, looked at before any work.
enum class FolderProblem { None, Missing, NotAFolder, NotWritable };
FolderProblem checkBatchFolder(const std::string& folder);

// A photo's failure as the loop words it: "photo.jpg: why".
std::string batchFailureMessage(const std::string& input, const std::string& why);

}  // namespace gt
