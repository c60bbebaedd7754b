// SPDX-License-Identifier: GPL-3.0-or-later
// The command line as a process: what only a process shows, the signals that stop it (during a
// drawing and during a long decoding) and the same bytes from one run to the next.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>  // before jpeglib.h, which uses FILE
#include <jpeglib.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "imaging/io/picture_io.h"
#include "io/io_test_support.h"

extern char** environ;

namespace gt::cli {
namespace {

// True once the process has its handler for `number` (the mask of caught signals in /proc).
bool catches(pid_t pid, int number) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (number - 1)) & 1;
    return false;
}

class Signals : public gt::testing::ScratchFolder {};

// Runs the command line to its end; its exit status.
int runCli(std::vector<std::string> args) {
    args.insert(args.begin(), GT_CLI_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, GT_CLI_PATH, nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

class SameBytes : public gt::testing::ScratchFolder {};

// Every format the command line writes, from two processes with a change of the clock's second
// between them: nothing in a file may depend on when it was made.
TEST_F(SameBytes, EveryOutputFormatIsTheSameFileFromRunToRun) {
    const std::string input = file("in.jpg");
    writePicture(gt::testing::pattern(64, 48), input);
    // TIFF and WebP go through Qt's plugins, where the machine has them.
    std::vector<std::string> extensions;
    for (const std::string extension : {"jpg", "png", "bmp", "tif", "webp"})
        if (canWrite(*formatForPath("x." + extension))) extensions.push_back(extension);
    auto runAll = [&](const std::string& tag) {
        for (const std::string& extension : extensions)
            EXPECT_EQ(runCli({"render", "--style", "pencil", input, file(tag + "." + extension)}), 0) << extension;
    };
    runAll("first");
    const auto second = std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now());
    while (std::chrono::system_clock::now() < second + std::chrono::seconds(1))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    runAll("second");
    for (const std::string& extension : extensions) {
        const auto first = gt::testing::fileBytes(file("first." + extension));
        EXPECT_FALSE(first.empty()) << extension;
        EXPECT_EQ(first, gt::testing::fileBytes(file("second." + extension))) << extension;
    }
}

TEST_F(Signals, TermAndHangUpStopLikeCtrlCAndWriteNothing) {
    const std::string input = file("in.png");
    writePicture(gt::testing::pattern(800, 600), input);
    for (int number : {SIGTERM, SIGHUP, SIGINT}) {
        const std::string output = file("out.jpg"), messages = file("messages.txt");
        std::vector<std::string> args = {GT_CLI_PATH, "render", "--style", "pencil", input, output};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, messages.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, GT_CLI_PATH, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        for (int i = 0; i < 2000 && !catches(pid, number); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::kill(pid, number);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << "signal " << number << " ended the process";
        EXPECT_EQ(WEXITSTATUS(status), 128 + number);
        std::stringstream text;
        text << std::ifstream(messages).rdbuf();
        EXPECT_EQ(text.str(), "graphitello-cli: cancelled; nothing was written\n");
        EXPECT_EQ(entries(), (std::vector<std::string>{"in.png", "messages.txt"})) << "signal " << number;
    }
}

// A grey progressive JPEG of 442 scans (the DC, then each of the 63 AC coefficients in 7 bit
// planes) over a flat picture of side x side, small on disk, whose decoding passes over every block
// once a scan. Its last bytes are cut off, so a decoding that runs to the end fails there.
gt::testing::Bytes slowJpegCutShort(int side) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(side);
    c.image_height = JDIMENSION(side);
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    std::vector<jpeg_scan_info> scans = {{1, {0}, 0, 0, 0, 0}};
    for (int k = 1; k < 64; ++k) {
        scans.push_back({1, {0}, k, k, 0, 6});
        for (int al = 5; al >= 0; --al) scans.push_back({1, {0}, k, k, al + 1, al});
    }
    c.scan_info = scans.data();
    c.num_scans = int(scans.size());
    jpeg_start_compress(&c, TRUE);
    const std::vector<unsigned char> row(std::size_t(side), 128);
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = const_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    gt::testing::Bytes b(out, out + size - 16);
    std::free(out);
    return b;
}

// A signal during a long decoding stops it between scans: without the stop, this file's decoding
// would run through every scan to the cut at its end and fail as damaged (status 1). The file comes
// through standard input after the signal, so the flag is up whenever the decoding runs.
TEST_F(Signals, TermStopsALongDecodingBetweenScans) {
    const gt::testing::Bytes jpeg = slowJpegCutShort(1024);
    const std::string output = file("out.png"), messages = file("messages.txt");
    std::vector<std::string> args = {GT_CLI_PATH, "adjust", "brightness", "-", output};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int input[2];
    ASSERT_EQ(::pipe(input), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, input[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, messages.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, GT_CLI_PATH, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    for (int i = 0; i < 2000 && !catches(pid, SIGTERM); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ::kill(pid, SIGTERM);
    // A process that ends before it has read everything must not end the test with SIGPIPE.
    const auto previous = ::signal(SIGPIPE, SIG_IGN);
    for (std::size_t at = 0; at < jpeg.size();) {
        const ssize_t n = ::write(input[1], jpeg.data() + at, jpeg.size() - at);
        if (n <= 0) break;
        at += std::size_t(n);
    }
    ::close(input[1]);
    ::signal(SIGPIPE, previous);
    // A guard, not a measure: the process must end at all.
    int status = 0;
    pid_t ended = 0;
    for (int i = 0; i < 6000 && (ended = ::waitpid(pid, &status, WNOHANG)) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (ended == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        FAIL() << "still decoding a minute after SIGTERM";
    }
    ASSERT_TRUE(WIFEXITED(status));
    std::stringstream text;
    text << std::ifstream(messages).rdbuf();
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM) << text.str();
    EXPECT_EQ(text.str(), "graphitello-cli: cancelled; nothing was written\n");
    EXPECT_EQ(entries(), std::vector<std::string>{"messages.txt"});
}

}  // namespace
}  // namespace gt::cli
