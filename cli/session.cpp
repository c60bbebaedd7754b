#include "cli/session.h"

#include <filesystem>

#include "cli/arguments.h"
#include "imaging/io/picture_io.h"

namespace gt::cli {

RenderContext Session::context(const std::string& label) {
    RenderContext ctx;
    ctx.cancel = env_.cancel;
    ctx.Busy = true;
    if (env_.progressBar) {
        if (!bar_) bar_ = std::make_unique<ProgressBar>(err, label);
        bar_->setLabel(label);
        ProgressBar* bar = bar_.get();
        ctx.progress = [bar](int step, int lastStep, int pass, int passes) { bar->report(step, lastStep, pass, passes); };
    }
    return ctx;
}

void Session::endProgress() {
    if (bar_) bar_->finish();
}

Bitmap Session::read(const std::string& path) {
    throwIfCancelled();
    return readPicture(path);
}

void Session::write(const Bitmap& picture, const std::string& path) {
    endProgress();
    throwIfCancelled();
    if (!writePicture(picture, path, env_.cancel)) throw Cancelled{};
}

void checkOutputName(const std::string& path) {
    if (!formatForPath(path))
        throw UsageError(path + ": unknown output format \"" + std::filesystem::path(path).extension().string() +
                         "\" (use .jpg, .jpeg, .bmp or .png)");
}

}  // namespace gt::cli
