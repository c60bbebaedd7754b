// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every command gets: where to print, the cancel flag and the progress bar.

#include <memory>
#include <ostream>
#include <span>
#include <string>

#include "cli/cli.h"
#include "cli/picture_options.h"
#include "cli/progress_bar.h"
#include "imaging/bitmap.h"
#include "imaging/context.h"
#include "imaging/io/picture_io.h"

class QGuiApplication;

namespace gt {
struct Resources;
class GlyphRenderer;
}  // namespace gt

namespace gt::cli {

// Thrown when Ctrl-C stopped the work; nothing has been written.
struct Cancelled {};

class Session {
public:
    Session(std::ostream& toOut, std::ostream& toErr, const Environment& env);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    std::ostream& out;
    std::ostream& err;

    std::atomic<bool>* cancelFlag() const { return env_.cancel; }
    bool cancelRequested() const { return env_.cancel && env_.cancel->load(); }
    void throwIfCancelled() const {
        if (cancelRequested()) throw Cancelled{};
    }
    // A context whose progress goes to the bar (when standard error is a terminal) under `label`.
    RenderContext context(const std::string& label);
    void endProgress();

    // "-" reads standard input.
    LoadedPicture read(const std::string& path, const PictureOptions& options = {});
    // Writes unless Ctrl-C came first; throws Cancelled then. "-" writes standard output. The camera
    // data of `from` goes along unless the options strip it.
    void write(const Bitmap& picture, const std::string& path, const PictureOptions& options = {},
               const PictureMetadata* from = nullptr);

    // The built-in pictures, loaded at the first call.
    const Resources& resources();
    // Qt's font engine, started at the first call (only a text on the drawing needs it).
    GlyphRenderer& glyphs();

private:
    LoadedPicture readFrom(const std::string& path, const ReadOptions& readOptions);

    const Environment& env_;
    std::unique_ptr<ProgressBar> bar_;
    std::unique_ptr<Resources> resources_;
    std::unique_ptr<QGuiApplication> fontEngine_;
    std::unique_ptr<GlyphRenderer> glyphs_;
};

// The usage error for an output whose name and options name no format we write.
void checkOutputName(const std::string& path, const PictureOptions& options = {});
// The processing error for an output that cannot be written where it goes (a missing or read-only
// folder, a folder in its place), found before any picture is read or drawn.
void checkOutputPlace(const std::string& path);

bool isAdjustOp(const std::string& name);
int runRender(std::span<const std::string> args, Session& session);
int runBatch(std::span<const std::string> args, Session& session);
int runStyles(std::span<const std::string> args, Session& session);
int runPresets(std::span<const std::string> args, Session& session);
int runAdjust(std::span<const std::string> args, Session& session);

}  // namespace gt::cli
