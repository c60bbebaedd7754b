// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <iterator>
#include <csignal>
#include <string>

#include "imaging/error.h"
#include "imaging/io/picture_io.h"
#include "io_test_support.h"

namespace gt {
namespace {

using testing::Bytes;
using testing::errorOf;
using testing::fileBytes;
using testing::pattern;
using testing::writeBytes;

TEST(EncodeBmp, TwentyFourBitsBottomUpPaddedRows) {
    Bitmap b(2, 2);
    b.setColour(0, 0, Colour{1, 2, 3});   // top left
    b.setColour(1, 1, Colour{7, 8, 9});   // bottom right
    const Bytes bmp = encodeBmp(b);
    ASSERT_EQ(bmp.size(), 54u + 2 * 8);   // rows of 6 bytes padded to 8
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(bmp[2], 70);                // file size
    EXPECT_EQ(bmp[10], 54);               // pixels start
    EXPECT_EQ(bmp[28], 24);               // bits per pixel
    // The bottom row comes first: white, then (7, 8, 9), then two bytes of padding.
    const Bytes bottom(bmp.begin() + 54, bmp.begin() + 62);
    EXPECT_EQ(bottom, (Bytes{255, 255, 255, 7, 8, 9, 0, 0}));
    EXPECT_EQ(Bytes(bmp.begin() + 62, bmp.begin() + 65), (Bytes{1, 2, 3}));
}

TEST(FormatForPath, ByExtensionInAnyCase) {
    EXPECT_EQ(formatForPath("a/b.JPG"), PictureFormat::Jpeg);
    EXPECT_EQ(formatForPath("b.jpeg"), PictureFormat::Jpeg);
    EXPECT_EQ(formatForPath("b.Bmp"), PictureFormat::Bmp);
    EXPECT_EQ(formatForPath("b.png"), PictureFormat::Png);
    EXPECT_EQ(formatForPath("b.TIF"), PictureFormat::Tiff);
    EXPECT_EQ(formatForPath("b.tiff"), PictureFormat::Tiff);
    EXPECT_EQ(formatForPath("b.webp"), PictureFormat::Webp);
    EXPECT_EQ(formatForPath("b.gif"), std::nullopt);
    EXPECT_EQ(formatForPath("jpg"), std::nullopt);
    EXPECT_EQ(formatForPath("folder.jpg/b"), std::nullopt);
}

class WritePicture : public testing::ScratchFolder {
protected:
    // An existing file that a failed write must leave alone.
    std::string oldFile(const std::string& name) {
        writeBytes(folder / name, old);
        return file(name);
    }
    const Bytes old = {'o', 'l', 'd'};
};

TEST_F(WritePicture, ReplacesTheFileKeepingItsPermissions) {
    const std::string path = oldFile("p.jpg");
    ::chmod(path.c_str(), 0640);
    EXPECT_TRUE(writePicture(pattern(8, 8), path));
    // The file is tagged sRGB besides; the pixels are libjpeg's at quality 90.
    EXPECT_EQ(readPicture(path), decodeJpeg(encodeJpeg(pattern(8, 8), 90), "memory"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(), std::vector<std::string>{"p.jpg"});

    // A relative name lands in the current folder.
    const auto cwd = testing::fs::current_path();
    testing::fs::current_path(folder);
    writePicture(pattern(3, 3), "here.bmp");
    testing::fs::current_path(cwd);
    EXPECT_EQ(readPicture(file("here.bmp")), pattern(3, 3));
}

TEST_F(WritePicture, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    // libjpeg refuses rows wider than 65,500 pixels: the encoding fails before the disk is touched.
    const std::string wide = oldFile("wide.jpg");
    EXPECT_EQ(errorOf([&] { writePicture(Bitmap(65501, 1), wide); }).rfind(wide + ": cannot encode as JPEG (", 0), 0u);
    EXPECT_EQ(fileBytes(wide), old);

    const std::string empty = oldFile("empty.png");
    EXPECT_EQ(errorOf([&] { writePicture(Bitmap(), empty); }), empty + ": nothing to write, the picture is empty");
    EXPECT_EQ(fileBytes(empty), old);

    const std::string gif = oldFile("p.gif");
    EXPECT_EQ(errorOf([&] { writePicture(pattern(2, 2), gif); }),
              gif + ": unknown picture format \".gif\" (use .jpg, .jpeg, .png, .bmp, .tif, .tiff or .webp)");
    EXPECT_EQ(fileBytes(gif), old);

    // The disk fills up half way: the file-size limit makes write() fail with EFBIG.
    const std::string full = oldFile("full.bmp");
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 2000;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string message = errorOf([&] { writePicture(pattern(600, 600), full); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(message.rfind(full + ": cannot write (", 0), 0u) << message;
    EXPECT_EQ(fileBytes(full), old);

    EXPECT_EQ(entries(), (std::vector<std::string>{"empty.png", "full.bmp", "p.gif", "wide.jpg"}));
}

TEST_F(WritePicture, UnwritableTargetsSayWhy) {
    const std::string nowhere = file("no/such/folder/p.jpg");
    EXPECT_EQ(errorOf([&] { writePicture(pattern(2, 2), nowhere); }).rfind(nowhere + ": cannot write in the folder ", 0), 0u);

    // A folder in the way, for every kind we write: refused, and no temporary stays behind.
    for (const PictureExtension& kind : kPictureExtensions) {
        const std::string name = std::string("taken.") + kind.name;
        testing::fs::create_directory(folder / name);
        EXPECT_EQ(errorOf([&] { writePicture(pattern(2, 2), file(name)); }), file(name) + ": cannot write (it is a folder)");
    }
    EXPECT_EQ(entries().size(), std::size(kPictureExtensions));

    if (::geteuid() != 0) {  // permissions do not bind root
        testing::fs::create_directory(folder / "locked");
        testing::fs::permissions(folder / "locked", testing::fs::perms::owner_read | testing::fs::perms::owner_exec);
        const std::string locked = (folder / "locked" / "p.jpg").string();
        EXPECT_NE(errorOf([&] { writePicture(pattern(2, 2), locked); }).find("Permission denied"), std::string::npos);
    }
}

// A link stays a link: the file at the end of its chain is replaced, keeping its permissions, and
// a link to nothing yet makes the file it names.
TEST_F(WritePicture, ALinkIsFollowedToTheFileItNames) {
    namespace fs = testing::fs;
    fs::create_directory(folder / "real");
    const std::string real = oldFile("real/p.jpg");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink("real/p.jpg", folder / "near.jpg");
    fs::create_symlink(folder / "near.jpg", folder / "far.jpg");
    fs::create_symlink("real/new.bmp", folder / "dangling.bmp");

    EXPECT_TRUE(writePicture(pattern(8, 8), file("far.jpg")));
    EXPECT_TRUE(writePicture(pattern(4, 4), file("dangling.bmp")));
    EXPECT_EQ(fs::read_symlink(folder / "far.jpg"), folder / "near.jpg");
    EXPECT_EQ(fs::read_symlink(folder / "near.jpg"), "real/p.jpg");
    EXPECT_EQ(fs::read_symlink(folder / "dangling.bmp"), "real/new.bmp");
    EXPECT_EQ(readPicture(real), decodeJpeg(encodeJpeg(pattern(8, 8), 90), "memory"));
    EXPECT_EQ(readPicture(file("real/new.bmp")), pattern(4, 4));
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(), (std::vector<std::string>{"dangling.bmp", "far.jpg", "near.jpg", "real"}));

    fs::create_symlink("loop.png", folder / "loop.png");
    EXPECT_EQ(errorOf([&] { writePicture(pattern(2, 2), file("loop.png")); }),
              file("loop.png") + ": cannot write (Too many levels of symbolic links)");
    EXPECT_TRUE(fs::is_symlink(folder / "loop.png"));
}

// A named pipe or a device is written into as it is, never replaced by a file; a device that is
// full says so.
TEST_F(WritePicture, APipeOrADeviceIsWrittenStraightThrough) {
    const std::string pipe = file("pipe.png");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // The reader is there first, so the write does not wait for one; the picture fits the pipe.
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(writePicture(pattern(8, 8), pipe));
    Bytes received;
    unsigned char piece[4096];
    for (ssize_t n; (n = ::read(reader, piece, sizeof piece)) > 0;) received.insert(received.end(), piece, piece + n);
    ::close(reader);
    EXPECT_EQ(received, encodePicture(pattern(8, 8), PictureFormat::Png));
    struct stat st {};
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(entries(), std::vector<std::string>{"pipe.png"});

    // A pipe whose reader has gone, named as /dev/stdout names one: a failure, not the program's end.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    const std::string writeEnd = "/proc/self/fd/" + std::to_string(ends[1]);
    EXPECT_EQ(errorOf([&] { writePicture(pattern(8, 8), writeEnd, nullptr, {}, PictureFormat::Png); }),
              writeEnd + ": cannot write (Broken pipe)");
    ::close(ends[1]);

    EXPECT_TRUE(writePicture(pattern(8, 8), "/dev/null", nullptr, {}, PictureFormat::Jpeg));
    EXPECT_EQ(errorOf([&] { writePicture(pattern(8, 8), "/dev/full", nullptr, {}, PictureFormat::Bmp); }),
              "/dev/full: cannot write (No space left on device)");
    for (const char* device : {"/dev/null", "/dev/full"}) {
        ASSERT_EQ(::lstat(device, &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << device;
    }
}

TEST_F(WritePicture, ACancelledWriteReplacesNothing) {
    const std::string path = oldFile("p.bmp");
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(writePicture(pattern(5, 5), path, &cancel));
    EXPECT_EQ(fileBytes(path), old);
    EXPECT_FALSE(writePicture(pattern(5, 5), file("new.png"), &cancel));
    EXPECT_EQ(entries(), std::vector<std::string>{"p.bmp"});
}

}  // namespace
}  // namespace gt
