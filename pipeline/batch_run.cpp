// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipeline/batch_run.h"

#include <exception>
#include <filesystem>
#include <new>
#include <utility>

#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

#include "imaging/error.h"
#include "pipeline/render.h"
#include "pipeline/render_limits.h"

namespace gt {

FolderProblem checkBatchFolder(const std::string& folder) {
    std::error_code ec;
    const std::filesystem::path path = folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder);
    if (!std::filesystem::exists(path, ec)) return FolderProblem::Missing;
    if (!std::filesystem::is_directory(path, ec)) return FolderProblem::NotAFolder;
#if __has_include(<unistd.h>)
    if (::access(path.c_str(), W_OK | X_OK) != 0) return FolderProblem::NotWritable;
#endif
    return FolderProblem::None;
}

std::string batchFailureMessage(const std::string& input, const std::string& why) {
    return std::filesystem::path(input).filename().string() + ": " + why;
}

namespace {

// The reason a step failed, in words. A message that names the photo already is kept as it is.
std::string reasonOf(const std::exception_ptr& failure, const std::string& input, bool& outOfMemory) {
    std::string why;
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
        why = "not enough memory to draw this photo";
    } catch (const MemoryShortage& e) {
        outOfMemory = true;
        why = e.what();
    } catch (const std::exception& e) {
        why = e.what();
    } catch (...) {
        why = "the drawing failed";
    }
    const std::string name = std::filesystem::path(input).filename().string();
    if (!name.empty() && why.find(name) != std::string::npos) return why;
    return batchFailureMessage(input, why);
}

}  // namespace

BatchOutcome runBatch(const BatchPlan& plan, const BatchSettings& settings, const Resources& resources, GlyphRenderer* glyphs,
                      std::atomic<bool>& cancel, const BatchSteps& steps) {
    BatchOutcome outcome;
    if (!styleFromIndex(settings.parameters.ComboBox1)) throw Error("no drawing style is chosen");
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        if (cancel.load()) {
            outcome.cancelled = true;
            break;
        }
        const BatchItem& item = plan.items[i];
        if (steps.skip && steps.skip(i)) {
            ++outcome.skipped;
            continue;
        }
        if (steps.starting) steps.starting(i);
        BatchStage stage = BatchStage::Read;
        try {
            BatchPhoto photo = steps.read(i, item.input);
            if (cancel.load()) {
                outcome.cancelled = true;
                break;
            }
            if (steps.photoRead) steps.photoRead(i, photo);
            stage = BatchStage::Draw;
            RenderContext ctx;
            if (steps.progress) ctx.progress = steps.progress(i);
            ctx.cancel = &cancel;
            ctx.random = settings.random;
            ctx.DrawingWidth = settings.drawingWidth;
            ctx.DrawingHeight = settings.drawingHeight;
            // The rendering draws on the photo itself; the writer needs only what the reader carried.
            RenderResult result = renderDrawing(std::move(photo.picture), settings.parameters, resources, ctx, glyphs);
            if (result.cancelled || cancel.load()) {
                outcome.cancelled = true;
                break;
            }
            if (steps.drawn) steps.drawn(i, result.drawing);
            stage = BatchStage::Write;
            steps.write(result.drawing, photo, item.output);
            ++outcome.written;
            if (steps.written) steps.written(i);
        } catch (...) {
            if (cancel.load()) {
                outcome.cancelled = true;
                break;
            }
            BatchFailure failure;
            failure.input = item.input;
            failure.stage = stage;
            failure.message = reasonOf(std::current_exception(), item.input, failure.outOfMemory);
            if (steps.failed) steps.failed(i, failure);
            outcome.failures.push_back(std::move(failure));
        }
    }
    return outcome;
}

}  // namespace gt
