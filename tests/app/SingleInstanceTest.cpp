#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace padwright {
namespace {

TEST(SingleInstance, SecondLockInTheSameFolderIsHeldElsewhere) {
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.TryLock(), SingleInstance::Acquired);
    EXPECT_TRUE(QFile::exists(first.LockPath()));

    SingleInstance second(dir.path());
    EXPECT_EQ(second.TryLock(), SingleInstance::HeldElsewhere);
    EXPECT_TRUE(second.ErrorText().isEmpty());
}

TEST(SingleInstance, ReleasingRemovesTheLockFile) {
    QTemporaryDir dir;
    QString path;
    {
        SingleInstance instance(dir.path());
        ASSERT_EQ(instance.TryLock(), SingleInstance::Acquired);
        path = instance.LockPath();
    }
    EXPECT_FALSE(QFile::exists(path));
    SingleInstance again(dir.path());
    EXPECT_EQ(again.TryLock(), SingleInstance::Acquired);
}

// A crashed run leaves its lock file behind; its process is gone, so the next start takes over.
TEST(SingleInstance, LockOfADeadProcessIsTakenOver) {
    QTemporaryDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstance crashed(dir.path());
        _exit(crashed.TryLock() == SingleInstance::Acquired ? 0 : 1); // no destructor runs
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(QDir(dir.path()).filePath("Padwright.lock")));

    SingleInstance next(dir.path());
    EXPECT_EQ(next.TryLock(), SingleInstance::Acquired);
}

// An old lock of a live instance is still that instance's: age alone never makes it stale.
TEST(SingleInstance, OldLockOfALiveProcessStaysHeld) {
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.TryLock(), SingleInstance::Acquired);
    QFile file(first.LockPath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-2),
                                 QFileDevice::FileModificationTime));
    file.close();

    SingleInstance second(dir.path());
    EXPECT_EQ(second.TryLock(), SingleInstance::HeldElsewhere);
}

// What lies where the lock goes decides between "another instance", "take it" and "report".
TEST(SingleInstance, LockFileThatCannotBeReadIsJudgedByWhatItIs) {
    struct Case {
        const char* what;
        QByteArray content; // written as the lock file, unless `inTheWay`
        int inTheWay;       // 1: a folder in its place, 2: a FIFO, which would be waited on
        int ageSeconds;
        SingleInstance::Outcome expected;
    };
    const Case cases[] = {
        {"empty file being written by a starting instance", "", 0, 0,
         SingleInstance::HeldElsewhere},
        {"empty file left by a power cut", "", 0, 60, SingleInstance::Acquired},
        {"damaged file left long ago", "\x01\x02garbage", 0, 3600, SingleInstance::Acquired},
        {"a folder in the way", "", 1, 60, SingleInstance::Failed},
        {"a FIFO in the way", "", 2, 60, SingleInstance::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("Padwright.lock");
        if (c.inTheWay == 1) {
            ASSERT_TRUE(QDir().mkpath(path + "/inside"));
        } else if (c.inTheWay == 2) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.content);
            ASSERT_TRUE(file.flush());
            ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-c.ageSeconds),
                                         QFileDevice::FileModificationTime));
        }
        SingleInstance instance(dir.path());
        ::alarm(30); // a wait for ever ends the test
        EXPECT_EQ(instance.TryLock(), c.expected);
        ::alarm(0);
        EXPECT_EQ(instance.ErrorText().isEmpty(), c.expected != SingleInstance::Failed);
        if (c.expected == SingleInstance::Acquired) {
            SingleInstance second(dir.path());
            EXPECT_EQ(second.TryLock(), SingleInstance::HeldElsewhere); // a real lock now
        }
    }
}

// A folder that cannot hold the lock is a failure to report, not another instance.
TEST(SingleInstance, UnwritableFolderFailsWithAMessage) {
    for (const QString& folder :
         {QStringLiteral("/proc"), QStringLiteral("/nonexistent/padwright")}) {
        SCOPED_TRACE(folder.toStdString());
        SingleInstance instance(folder);
        EXPECT_EQ(instance.TryLock(), SingleInstance::Failed);
        EXPECT_TRUE(instance.ErrorText().contains(instance.LockPath()))
            << instance.ErrorText().toStdString();
    }
}

} // namespace
} // namespace padwright
