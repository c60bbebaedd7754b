// SPDX-License-Identifier: GPL-3.0-or-later
// The command line as a process: what only a process shows, the signals that stop it and the same
// bytes from one run to the next.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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

}  // namespace
}  // namespace gt::cli
