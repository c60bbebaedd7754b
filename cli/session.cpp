#include "cli/session.h"

#include <filesystem>

#include <QGuiApplication>

#include "cli/arguments.h"
#include "finishing/text_qt/qt_glyph_renderer.h"
#include "imaging/io/builtin_pictures.h"
#include "imaging/io/picture_io.h"
#include "imaging/resources.h"

namespace gt::cli {

Session::Session(std::ostream& toOut, std::ostream& toErr, const Environment& env) : out(toOut), err(toErr), env_(env) {}

Session::~Session() = default;

const Resources& Session::resources() {
    if (!resources_) resources_ = std::make_unique<Resources>(loadBuiltinPictures());
    return *resources_;
}

GlyphRenderer& Session::glyphs() {
    if (!glyphs_) {
        fontEngine_ = startHeadlessFontEngine();
        glyphs_ = std::make_unique<QtGlyphRenderer>();
    }
    return *glyphs_;
}

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

Bitmap Session::read(const std::string& path) { return readPicture(path); }

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
