// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/session.h"

#include <filesystem>
#include <iterator>
#include <vector>

#include <QGuiApplication>

#include "cli/arguments.h"
#include "finishing/text_qt/qt_glyph_renderer.h"
#include "imaging/error.h"
#include "imaging/io/builtin_pictures.h"
#include "imaging/io/picture_io.h"
#include "imaging/io/temporary_file.h"
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

LoadedPicture Session::read(const std::string& path, const PictureOptions& options) {
    ReadOptions readOptions;
    readOptions.autoOrient = options.autoOrient;
    // A signal during a long decoding stops it at its next rows.
    readOptions.cancel = env_.cancel;
    try {
        return readFrom(path, readOptions);
    } catch (const Error& e) {
        // Stopped by the signal: nothing is wrong with the file. A reading that failed on its own
        // says why, signal or not.
        if (e.kind() == ErrorKind::Cancelled) throw Cancelled{};
        throw;
    }
}

LoadedPicture Session::readFrom(const std::string& path, const ReadOptions& readOptions) {
    if (path != "-") return loadPictureFile(path, readOptions);
    if (!env_.in) throw Error("-: no standard input to read");
    // Read in pieces up to the longest picture file accepted, so an endless stream stops.
    const std::size_t limit = maxPictureFileBytes(readOptions.limits);
    std::vector<unsigned char> bytes;
    std::vector<char> piece(1 << 16);
    while (*env_.in) {
        env_.in->read(piece.data(), static_cast<std::streamsize>(piece.size()));
        const std::size_t n = static_cast<std::size_t>(env_.in->gcount());
        if (bytes.size() + n > limit) throw Error("standard input: too large to be a picture within the limits");
        bytes.insert(bytes.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(n));
    }
    if (env_.in->bad()) throw Error("standard input: cannot read");
    return loadPicture(bytes.data(), bytes.size(), "standard input", readOptions);
}

void Session::write(const Bitmap& picture, const std::string& path, const PictureOptions& options,
                    const PictureMetadata* from) {
    endProgress();
    throwIfCancelled();
    const PictureFormat format = outputFormat(path, options);
    WriteOptions writeOptions;
    writeOptions.quality = options.quality;
    writeOptions.metadata = options.strip ? nullptr : from;
    if (path != "-") {
        if (!writePicture(picture, path, env_.cancel, writeOptions, format)) throw Cancelled{};
        return;
    }
    const std::vector<unsigned char> bytes = encodePicture(picture, format, writeOptions);
    throwIfCancelled();
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) throw Error("standard output: cannot write");
}

void checkOutputName(const std::string& path, const PictureOptions& options) { (void)outputFormat(path, options); }

void checkOutputPlace(const std::string& path) {
    if (path != "-") checkDestination(path, path);
}

}  // namespace gt::cli
