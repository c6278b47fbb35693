// The single-copy lock against other processes: what the system does when the
// holder dies or starts a program of its own.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

#include "app/startup_checks.h"
#include "support/fake_host.h"

extern char** environ;

namespace veltrix {
namespace {

using test::TempDir;
using State = InstanceLock::State;

TEST(InstanceLockTest, LockOfAKilledProcessIsFreed) {
    TempDir dir;
    auto file = dir.path() / kLockFileName;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock lock;
        char c = lock.tryAcquire(file) == State::Acquired ? 'y' : 'n';
        if (write(ready[1], &c, 1) != 1) _exit(2);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    close(ready[0]);
    ASSERT_EQ(c, 'y');
    InstanceLock mine;
    EXPECT_EQ(mine.tryAcquire(file), State::HeldElsewhere);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(mine.tryAcquire(file), State::Acquired);
}

TEST(InstanceLockTest, ProgramStartedByTheHolderDoesNotKeepTheLock) {
    TempDir dir;
    auto file = dir.path() / kLockFileName;
    auto lock = std::make_unique<InstanceLock>();
    ASSERT_EQ(lock->tryAcquire(file), State::Acquired);
    pid_t pid = 0;
    char arg0[] = "sleep";
    char arg1[] = "30";
    char* argv[] = {arg0, arg1, nullptr};
    ASSERT_EQ(posix_spawnp(&pid, "sleep", nullptr, nullptr, argv, environ), 0);
    lock.reset();  // the holder ends while the program it started runs on
    InstanceLock next;
    EXPECT_EQ(next.tryAcquire(file), State::Acquired);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace
}  // namespace veltrix
