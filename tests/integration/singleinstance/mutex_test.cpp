#include "lockfilemutex.h"
#include "support/tempdir.h"

#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
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
        LockFileMutex mutex({dir});
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
    EXPECT_TRUE(LockFileMutex({path}).createAlreadyExists("hanzi"));
    EXPECT_FALSE(
        LockFileMutex({path}).createAlreadyExists("pinyin")); // another edition runs beside
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
    LockFileMutex mutex({"/proc/no-such-dir"});
    EXPECT_FALSE(mutex.createAlreadyExists("hanzi"));
}

TEST(NamedMutex, AFolderAnotherUserCouldWriteToIsPassedOver) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody)
        GTEST_SKIP() << "needs root and the user nobody to give a folder away";
    const struct {
        const char* label;
        uid_t owner;
        mode_t mode;
        bool link;
    } cases[] = {
        {"another user's, open to all", nobody->pw_uid, 0777, false},
        {"another user's, closed to others", nobody->pw_uid, 0700, false},
        {"ours, open to all", ::geteuid(), 0777, false},
        {"ours, open to the group", ::geteuid(), 0770, false},
        {"a link to a folder of ours", ::geteuid(), 0700, true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string taken = dir.path().toStdString() + "taken";
        const std::string real = c.link ? taken + "-real" : taken;
        ASSERT_EQ(::mkdir(real.c_str(), c.mode), 0) << c.label;
        ASSERT_EQ(::chmod(real.c_str(), c.mode), 0) << c.label;
        ASSERT_EQ(::chown(real.c_str(), c.owner, gid_t(-1)), 0) << c.label;
        if (c.link) {
            ASSERT_EQ(::symlink(real.c_str(), taken.c_str()), 0) << c.label;
        }
        // Whoever made the folder holds the edition's lock in it.
        const int squatter = ::open((real + "/hanzi.lock").c_str(), O_RDWR | O_CREAT, 0666);
        ASSERT_GE(squatter, 0) << c.label;
        ASSERT_EQ(::flock(squatter, LOCK_EX | LOCK_NB), 0) << c.label;

        const std::string own = dir.path().toStdString() + "own";
        EXPECT_FALSE(LockFileMutex({taken, own}).createAlreadyExists("hanzi")) << c.label;
        EXPECT_TRUE(LockFileMutex::isPrivateFolder(own)) << c.label;
        // A second copy looks in the same place and finds the first.
        EXPECT_TRUE(LockFileMutex({taken, own}).createAlreadyExists("hanzi")) << c.label;
        ::close(squatter);
    }
}

TEST(NamedMutex, DefaultFoldersFallBackToTheUsersCacheFolder) {
    const struct {
        const char* runtime;
        const char* cache;
        std::vector<std::string> folders;
    } cases[] = {
        {"/run/user/7", "/c", {"/run/user/7/lumora-mutex", "", "/c/lumora-mutex"}},
        {nullptr, nullptr, {"", "/home/u/.cache/lumora-mutex"}},
    };
    const std::string tmp = "/tmp/lumora-mutex-" + std::to_string(::getuid());
    for (const auto& c : cases) {
        const auto set = [](const char* name, const char* value) {
            value ? ::setenv(name, value, 1) : ::unsetenv(name);
        };
        set("XDG_RUNTIME_DIR", c.runtime);
        set("XDG_CACHE_HOME", c.cache);
        set("HOME", "/home/u");
        std::vector<std::string> expected = c.folders;
        for (std::string& folder : expected)
            if (folder.empty())
                folder = tmp;
        EXPECT_EQ(LockFileMutex::defaultFolders(), expected) << (c.runtime ? c.runtime : "-");
    }
}
