// SPDX-License-Identifier: GPL-3.0-or-later
// The command line as a process: what only a process shows, the signals that stop it.

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
