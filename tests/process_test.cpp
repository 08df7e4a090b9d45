// The running process: the executable's path wherever the file lies and
// however it was started, and the standard descriptors a start without them
// gets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "process/process.h"
#include "tests/run_process.h"
#include "tests/temp_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kBegin = "<<executable:";
constexpr const char* kEnd = ":executable>>";

// Run only as a child of ExecutablePath.IsTheRealFileEvenFarAwayAndThroughALink:
// writes what the copy it runs in takes for its own path.
TEST(ExecutablePath, DISABLED_ReportsItself) {
    std::printf("%s%s%s\n", kBegin, tolmeri::ExecutablePath().c_str(), kEnd);
}

TEST(ExecutablePath, IsTheFileThatRuns) {
    const std::string exe = tolmeri::ExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe, fs::canonical(TOLMERI_PROCESS_TEST_EXE).string());
}

// A copy of this program in a folder whose path is longer than the first
// guess of its length, with names that are not UTF-8, started through a
// link in another folder, knows the file itself, byte for byte.
TEST(ExecutablePath, IsTheRealFileEvenFarAwayAndThroughALink) {
    CTempFolder dir;
    const struct {
        const char* why;
        std::string folder; // below dir
        std::string name;
    } cases[] = {
        {"near", "bin", "process_test"},
        {"past 256 bytes", std::string(200, 'a') + "/" + std::string(120, 'b'), "p"},
        {"past 512 bytes, Shift-JIS names",
         std::string(250, 'c') + "/\x89\xA1\x95\x6C " + std::string(240, 'd') + "/" +
             std::string(100, 'e'),
         "\x89\xA1\x95\x6C"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        const fs::path folder = dir.Path() / c.folder;
        fs::create_directories(folder);
        const fs::path copy = folder / c.name;
        fs::copy_file(TOLMERI_PROCESS_TEST_EXE, copy, fs::copy_options::overwrite_existing);
        const fs::path link = dir.Path() / "link";
        fs::remove(link);
        fs::create_symlink(copy, link);
        const ProcessResult r =
            RunProcess(link.string(), {"--gtest_also_run_disabled_tests",
                                       "--gtest_filter=ExecutablePath.DISABLED_ReportsItself"});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::size_t begin = r.out.find(kBegin);
        const std::size_t end = r.out.find(kEnd);
        ASSERT_NE(begin, std::string::npos) << r.out;
        ASSERT_NE(end, std::string::npos) << r.out;
        const std::size_t from = begin + std::string(kBegin).size();
        EXPECT_EQ(r.out.substr(from, end - from), fs::canonical(copy).string());
    }
}

// What descriptor fd is: the device and file, and whether it reads or writes;
// "closed" when it is not open.
std::string Describe(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    struct stat info {};
    if (flags < 0 || ::fstat(fd, &info) != 0)
        return "closed";
    const int mode = flags & O_ACCMODE;
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino) +
           (mode == O_RDONLY   ? " r"
            : mode == O_WRONLY ? " w"
                               : " rw");
}

TEST(OpenClosedStandardDescriptors, FillsOnlyTheClosedOnesWithDevNull) {
    struct stat null {};
    ASSERT_EQ(::stat("/dev/null", &null), 0);
    const std::string nullFile = std::to_string(null.st_dev) + ":" + std::to_string(null.st_ino);
    const std::vector<int> cases[] = {{}, {0}, {1}, {2}, {0, 2}, {0, 1, 2}};
    for (const std::vector<int>& closed : cases) {
        SCOPED_TRACE("closed " + std::to_string(closed.size()) +
                     (closed.empty() ? "" : " from " + std::to_string(closed.front())));
        CTempFolder dir;
        const std::string after = dir / "after";
        // In a child: the standard descriptors are this process's own.
        const pid_t child = ::fork();
        if (child == 0) {
            // Each open one is a file of its own to tell it from /dev/null.
            for (int fd = 0; fd <= 2; ++fd) {
                const int file =
                    ::open((dir / ("std" + std::to_string(fd))).c_str(), O_RDWR | O_CREAT, 0600);
                ::dup2(file, fd);
                ::close(file);
            }
            std::string was[3], now[3];
            for (int fd = 0; fd <= 2; ++fd)
                was[fd] = Describe(fd);
            for (const int fd : closed)
                ::close(fd);
            tolmeri::OpenClosedStandardDescriptors();
            for (int fd = 0; fd <= 2; ++fd)
                now[fd] = Describe(fd);
            // The next file opened is none of the three.
            const int next = ::open("/dev/null", O_RDONLY);
            const int report = ::open(after.c_str(), O_WRONLY | O_CREAT, 0600);
            std::string text;
            for (int fd = 0; fd <= 2; ++fd)
                text += was[fd] + "|" + now[fd] + "\n";
            text += std::to_string(next) + "\n";
            (void)!::write(report, text.data(), text.size());
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        std::ifstream in(after);
        for (int fd = 0; fd <= 2; ++fd) {
            std::string line;
            ASSERT_TRUE(std::getline(in, line)) << fd;
            const std::string was = line.substr(0, line.find('|'));
            const std::string now = line.substr(line.find('|') + 1);
            const bool wasClosed = std::find(closed.begin(), closed.end(), fd) != closed.end();
            if (wasClosed)
                EXPECT_EQ(now, nullFile + " r") << fd << ": a write there still fails";
            else
                EXPECT_EQ(now, was) << fd << ": an open descriptor is left as it is";
        }
        int next = -1;
        in >> next;
        EXPECT_GT(next, 2);
    }
}

} // namespace
