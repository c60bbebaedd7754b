// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/session.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
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

namespace {

// Some decoders' libraries print on standard error of their own: dav1d, libheif's decoder of AVIF,
// says "Unknown OBU type 0 of size 41" of a damaged file, before our one line says what is wrong,
// and offers no way to stop it through libheif. While the command line reads a picture (one
// thread, nothing of ours printing meanwhile), standard error goes to a scratch file. After a
// reading that succeeded, what was printed is passed on as it came, so nothing is lost; after a
// failure our line says it, and the library's is dropped.
class HeldStandardError {
public:
    HeldStandardError() {
        std::fflush(stderr);
        std::cerr.flush();
        scratch_ = std::tmpfile();
        saved_ = scratch_ ? ::dup(STDERR_FILENO) : -1;
        if (saved_ < 0 || ::dup2(::fileno(scratch_), STDERR_FILENO) < 0) release();
    }
    ~HeldStandardError() { release(); }
    HeldStandardError(const HeldStandardError&) = delete;
    HeldStandardError& operator=(const HeldStandardError&) = delete;

    void passOn() { passOn_ = true; }

private:
    void release() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
            saved_ = -1;
            if (passOn_) {
                std::rewind(scratch_);
                char buffer[4096];
                for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, scratch_)) > 0;)
                    if (::write(STDERR_FILENO, buffer, n) < 0) break;
            }
        }
        if (scratch_) std::fclose(scratch_);
        scratch_ = nullptr;
    }

    std::FILE* scratch_ = nullptr;
    int saved_ = -1;
    bool passOn_ = false;
};

}  // namespace

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
    if (path != "-") {
        HeldStandardError held;
        LoadedPicture picture = loadPictureFile(path, readOptions);
        held.passOn();
        return picture;
    }
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
    HeldStandardError held;
    LoadedPicture picture = loadPicture(bytes.data(), bytes.size(), "standard input", readOptions);
    held.passOn();
    return picture;
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
