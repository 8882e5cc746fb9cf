#include "lockfilemutex.h"
#include "support/tempdir.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace lumora;
using lumora::test::TempDir;

namespace {

// A second process that creates the mutex, reports through a pipe and then waits to be killed.
pid_t holdInChild(const std::string& dir, const QString& name) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        LockFileMutex mutex(dir);
        const char answer = mutex.createAlreadyExists(name) ? 'y' : 'n';
        (void)!::write(fds[1], &answer, 1);
        for (;;)
            ::pause();
    }
    ::close(fds[1]);
    char answer = 0;
    (void)!::read(fds[0], &answer, 1);
    ::close(fds[0]);
    return answer == 'n' ? pid : -1;
}

void killHard(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

} // namespace

TEST(NamedMutex, SecondProcessSeesTheMutexOfTheSameEditionOnly) {
    TempDir dir;
    const std::string path = dir.path().toStdString();
    const pid_t first = holdInChild(path, "hanzi");
    ASSERT_GT(first, 0);
    EXPECT_TRUE(LockFileMutex(path).createAlreadyExists("hanzi"));
    EXPECT_FALSE(LockFileMutex(path).createAlreadyExists("pinyin")); // another edition runs beside
    killHard(first);
}

TEST(NamedMutex, KillingTheHolderReleasesIt) {
    TempDir dir;
    const std::string path = dir.path().toStdString();
    const pid_t first = holdInChild(path, "erge");
    ASSERT_GT(first, 0);
    killHard(first);
    const pid_t second = holdInChild(path, "erge");
    EXPECT_GT(second, 0) << "the mutex of a killed copy must be free";
    if (second > 0)
        killHard(second);
}

TEST(NamedMutex, FailureToCreateCountsAsNoOtherCopy) {
    LockFileMutex mutex("/proc/no-such-dir");
    EXPECT_FALSE(mutex.createAlreadyExists("hanzi"));
}
