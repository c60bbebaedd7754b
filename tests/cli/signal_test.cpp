// SPDX-License-Identifier: GPL-3.0-or-later
// The command line as a process: what only a process shows, the signals that stop it (during a
// drawing and during a long decoding), standard error's lines and the same bytes from one run to
// the next.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "imaging/io/picture_io.h"
#include "io/io_test_support.h"
#include "io/slow_jpeg.h"

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

// Starts the command line with its standard error going into the file `messages` and, when
// `input` is a pipe's two ends, its standard input reading the first; the process's id, 0 when it
// could not start.
pid_t startCli(std::vector<std::string> args, const std::string& messages, const int* input = nullptr) {
    args.insert(args.begin(), GT_CLI_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input) {
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, input[1]);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, messages.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    if (posix_spawn(&pid, GT_CLI_PATH, &actions, nullptr, argv.data(), environ) != 0) pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::string textOf(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

class SameBytes : public gt::testing::ScratchFolder {};
class Messages : public gt::testing::ScratchFolder {};

// A damaged AVIF is said in our one line: the decoder's library (dav1d) prints its own complaint on
// standard error, which the command line holds back while it reads. The fuzzer's seed with its first
// compressed unit made of a kind that does not exist (type 0).
TEST_F(Messages, ADamagedAvifIsOneLineOfOurs) {
    gt::testing::Bytes avif = gt::testing::fileBytes(GT_SOURCE_DIR "/fuzz/corpus/fuzz_picture/small.avif");
    const std::string mdat = "mdat";
    const auto data = std::search(avif.begin(), avif.end(), mdat.begin(), mdat.end());
    ASSERT_LT(data + 4, avif.end());
    avif[std::size_t(data - avif.begin()) + 4] = 0;
    const std::string input = file("damaged.avif"), messages = file("messages.txt");
    gt::testing::writeBytes(input, avif);
    const pid_t pid = startCli({"adjust", "brightness", input, file("out.png")}, messages);
    ASSERT_NE(pid, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string text = textOf(messages);
    EXPECT_EQ(text.rfind("graphitello-cli: " + input + ": ", 0), 0u) << text;
    EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
}

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
        const pid_t pid = startCli({"render", "--style", "pencil", input, output}, messages);
        ASSERT_NE(pid, 0);
        for (int i = 0; i < 2000 && !catches(pid, number); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::kill(pid, number);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << "signal " << number << " ended the process";
        EXPECT_EQ(WEXITSTATUS(status), 128 + number);
        EXPECT_EQ(textOf(messages), "graphitello-cli: cancelled; nothing was written\n");
        EXPECT_EQ(entries(), (std::vector<std::string>{"in.png", "messages.txt"})) << "signal " << number;
    }
}

// A signal during a long decoding stops it between scans: without the stop, this file's decoding
// would run through every scan to the cut at its end and fail as damaged (status 1). The file comes
// through standard input after the signal, so the flag is up whenever the decoding runs.
TEST_F(Signals, TermStopsALongDecodingBetweenScans) {
    const gt::testing::Bytes jpeg = gt::testing::slowJpegCutShort(1024);
    const std::string output = file("out.png"), messages = file("messages.txt");
    int input[2];
    ASSERT_EQ(::pipe(input), 0);
    const pid_t pid = startCli({"adjust", "brightness", "-", output}, messages, input);
    ASSERT_NE(pid, 0);
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
    const std::string text = textOf(messages);
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM) << text;
    EXPECT_EQ(text, "graphitello-cli: cancelled; nothing was written\n");
    EXPECT_EQ(entries(), std::vector<std::string>{"messages.txt"});
}

}  // namespace
}  // namespace gt::cli
