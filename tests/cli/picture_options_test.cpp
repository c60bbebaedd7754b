// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's picture options: formats by name or --format, standard input and output, the
// quality, the camera data, the orientation, --version.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli.h"
#include "imaging/io/codecs.h"
#include "imaging/io/picture_io.h"
#include "cli_test_support.h"
#include "io/io_test_support.h"
#include "version.h"

namespace gt::cli {
namespace {

using gt::testing::Bytes;
using gt::testing::pattern;
using testing::Outcome;
using testing::run;

std::string text(const Bytes& b) { return std::string(b.begin(), b.end()); }
Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

class CliPictures : public gt::testing::ScratchFolder {};

TEST_F(CliPictures, VersionFromTheBuild) {
    const Outcome r = run({"--version"});
    EXPECT_EQ(r.status, kExitSuccess);
    EXPECT_EQ(r.out, std::string("graphitello-cli ") + GT_VERSION + "\n");
    EXPECT_EQ(std::string(GT_VERSION), "1.85");
}

TEST_F(CliPictures, StandardInputAndOutput) {
    const Bitmap photo = pattern(21, 13);
    const std::string png = text(encodePng(photo));

    const Outcome r = run({"adjust", "resize", "--size", "21x13", "--format", "png", "-", "-"}, nullptr, png);
    ASSERT_EQ(r.status, kExitSuccess) << r.err;
    EXPECT_EQ(r.err, "");
    const Bytes out = bytes(r.out);
    EXPECT_EQ(decodePicture(out.data(), out.size(), "out"), photo);

    const Outcome noFormat = run({"adjust", "soften", "-", "-"}, nullptr, png);
    EXPECT_EQ(noFormat.status, kExitUsage);
    EXPECT_NE(noFormat.err.find("writing to standard output (-) needs --format"), std::string::npos);

    const Outcome empty = run({"adjust", "soften", "-", file("o.png")}, nullptr, "");
    EXPECT_EQ(empty.status, kExitFailure);
    EXPECT_EQ(empty.err, "graphitello-cli: standard input: empty file\n");

    // --format wins over the extension.
    ASSERT_EQ(run({"adjust", "resize", "--size", "21x13", "--format", "tiff", "-", file("x.png")}, nullptr, png).status,
              kExitSuccess);
    EXPECT_EQ(sniffKind(gt::testing::fileBytes(folder / "x.png").data(), 8), PictureKind::Tiff);
    EXPECT_EQ(run({"adjust", "soften", "--format", "gif", "-", "-"}, nullptr, png).status, kExitUsage);
    EXPECT_EQ(run({"batch", "--out", folder.string(), "-"}, nullptr, png).status, kExitUsage);
}

TEST_F(CliPictures, EveryOutputFormatAndTheQuality) {
    const Bitmap photo = pattern(40, 30);
    writePicture(photo, file("in.png"));
    for (const char* name : {"o.jpg", "o.png", "o.bmp", "o.tif", "o.webp"}) {
        const Outcome r = run({"adjust", "resize", "--size", "40x30", file("in.png"), file(name)});
        ASSERT_EQ(r.status, kExitSuccess) << name << r.err;
        EXPECT_EQ(readPicture(file(name)).width(), 40) << name;
    }
    EXPECT_EQ(readPicture(file("o.tif")), photo);
    ASSERT_EQ(run({"adjust", "resize", "--size", "40x30", "--quality", "10", file("in.png"), file("low.jpg")}).status, kExitSuccess);
    EXPECT_LT(gt::testing::fs::file_size(folder / "low.jpg"), gt::testing::fs::file_size(folder / "o.jpg"));
    EXPECT_EQ(run({"adjust", "soften", "--quality", "0", file("in.png"), file("q.jpg")}).status, kExitUsage);
    EXPECT_EQ(run({"adjust", "soften", "--quality", "101", file("in.png"), file("q.jpg")}).status, kExitUsage);
}

TEST_F(CliPictures, OrientationAndCameraData) {
    // A photo stored on its side with its camera data (orientation 6: turn right to stand).
    const Bitmap stored = pattern(30, 20);
    const Bytes upright = encodeWithQt(stored, "tiff", -1, 0, 0);
    // The smallest EXIF block: one IFD with the orientation, 6.
    const Bytes exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
    gt::testing::writeBytes(folder / "side.tif", withExif(upright, exif));

    ASSERT_EQ(run({"adjust", "resize", "--size", "20x30", file("side.tif"), file("a.jpg")}).status, kExitSuccess);
    const LoadedPicture a = loadPictureFile(file("a.jpg"));
    EXPECT_EQ(a.bitmap.width(), 20);
    EXPECT_EQ(a.metadata.orientation, 1);  // reset: the output stands as stored
    EXPECT_FALSE(a.metadata.exif.empty());

    ASSERT_EQ(run({"adjust", "resize", "--size", "30x20", "--no-auto-orient", file("side.tif"), file("b.png")}).status,
              kExitSuccess);
    EXPECT_EQ(readPicture(file("b.png")), stored);
    // Left as stored, the output keeps the tag, so a viewer still stands it up.
    ASSERT_EQ(run({"adjust", "resize", "--size", "30x20", "--no-auto-orient", file("side.tif"), file("b.jpg")}).status,
              kExitSuccess);
    EXPECT_EQ(loadPictureFile(file("b.jpg")).metadata.orientation, 6);
    EXPECT_EQ(loadPictureFile(file("b.jpg")).bitmap.width(), 20);

    ASSERT_EQ(run({"adjust", "resize", "--size", "20x30", "--strip", file("side.tif"), file("c.jpg")}).status, kExitSuccess);
    EXPECT_TRUE(loadPictureFile(file("c.jpg")).metadata.exif.empty());
}

}  // namespace
}  // namespace gt::cli
