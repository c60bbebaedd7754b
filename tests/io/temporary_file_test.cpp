// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "imaging/error.h"
#include "imaging/io/picture_io.h"
#include "imaging/io/temporary_file.h"
#include "io_test_support.h"

namespace gt {
namespace {

using testing::fileBytes;
using testing::writeBytes;

class TemporaryFiles : public testing::ScratchFolder {
protected:
    // The id of a process that has ended.
    static pid_t deadProcess() {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(0);
        int status = 0;
        ::waitpid(child, &status, 0);
        return child;
    }
};

// A process killed while it writes leaves what is on disk at that moment: there must be no name
// for the half-written file then.
TEST_F(TemporaryFiles, NothingHasANameBeforeTheCommit) {
    const std::string target = file("out.jpg");
    writeBytes(target, {1, 2, 3});
    {
        TemporaryFile partial(target, target);
        const std::vector<unsigned char> data(3 << 20, 7);
        partial.write(data.data(), data.size());
        partial.close();
        if (!partial.unnamed()) GTEST_SKIP() << "this file system has no unnamed files";
        EXPECT_EQ(entries(), std::vector<std::string>{"out.jpg"});
    }
    EXPECT_EQ(fileBytes(target), (testing::Bytes{1, 2, 3}));

    // Committed, over an existing file and to a new name.
    for (const std::string& name : {std::string("out.jpg"), std::string("new.png")}) {
        TemporaryFile whole(file(name), name);
        const unsigned char data[] = {9, 8};
        whole.write(data, 2);
        whole.close();
        whole.commit();
    }
    EXPECT_EQ(fileBytes(target), (testing::Bytes{9, 8}));
    EXPECT_EQ(fileBytes(file("new.png")), (testing::Bytes{9, 8}));
    EXPECT_EQ(entries(), (std::vector<std::string>{"new.png", "out.jpg"}));
}

TEST_F(TemporaryFiles, LeftoversOfEndedProcessesGoAtTheNextWrite) {
    const std::string dead = std::to_string(deadProcess());
    const std::string living = std::to_string(::getppid());
    const std::vector<std::string> leftovers = {".a.jpg." + dead + "-12345.tmp",
                                                ".b.PNG." + dead + "-7.tmp", ".f.tif." + dead + "-3.tmp",
                                                ".g.TIFF." + dead + "-4.tmp", ".h.webp." + dead + "-5.tmp",
                                                ".Params.gtl." + dead + "-6.tmp"};
    const std::vector<std::string> kept = {".c.jpg." + living + "-1.tmp",  // its writer may still run
                                           ".notes.txt." + dead + "-1.tmp", ".d.jpg." + dead + ".tmp", "e.jpg"};
    for (const auto& name : leftovers) writeBytes(folder / name, {1});
    for (const auto& name : kept) writeBytes(folder / name, {1});

    writePicture(testing::pattern(4, 3), file("out.bmp"));
    std::vector<std::string> expected = kept;
    expected.push_back("out.bmp");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(), expected);
}

}  // namespace
}  // namespace gt
