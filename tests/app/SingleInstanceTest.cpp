#include "platform/instance/linux/LockFileLock.h"

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
    LockFileLock first(dir.path().toStdString());
    ASSERT_EQ(first.TryLock(), LockFileLock::Acquired);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(first.LockPath())));

    LockFileLock second(dir.path().toStdString());
    EXPECT_EQ(second.TryLock(), LockFileLock::HeldElsewhere);
    EXPECT_TRUE(second.ErrorText().empty());
}

TEST(SingleInstance, ReleasingRemovesTheLockFile) {
    QTemporaryDir dir;
    QString path;
    {
        LockFileLock instance(dir.path().toStdString());
        ASSERT_EQ(instance.TryLock(), LockFileLock::Acquired);
        path = QString::fromStdString(instance.LockPath());
    }
    EXPECT_FALSE(QFile::exists(path));
    LockFileLock again(dir.path().toStdString());
    EXPECT_EQ(again.TryLock(), LockFileLock::Acquired);
}

// A crashed run leaves its lock file behind; its process is gone, so the next start takes over.
TEST(SingleInstance, LockOfADeadProcessIsTakenOver) {
    QTemporaryDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        LockFileLock crashed(dir.path().toStdString());
        _exit(crashed.TryLock() == LockFileLock::Acquired ? 0 : 1); // no destructor runs
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(QDir(dir.path()).filePath("Padwright.lock")));

    LockFileLock next(dir.path().toStdString());
    EXPECT_EQ(next.TryLock(), LockFileLock::Acquired);
}

// An old lock of a live instance is still that instance's: age alone never makes it stale.
TEST(SingleInstance, OldLockOfALiveProcessStaysHeld) {
    QTemporaryDir dir;
    LockFileLock first(dir.path().toStdString());
    ASSERT_EQ(first.TryLock(), LockFileLock::Acquired);
    QFile file(QString::fromStdString(first.LockPath()));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-2),
                                 QFileDevice::FileModificationTime));
    file.close();

    LockFileLock second(dir.path().toStdString());
    EXPECT_EQ(second.TryLock(), LockFileLock::HeldElsewhere);
}

// What lies where the lock goes decides between "another instance", "take it" and "report".
TEST(SingleInstance, LockFileThatCannotBeReadIsJudgedByWhatItIs) {
    struct Case {
        const char* what;
        QByteArray content; // written as the lock file, unless `inTheWay`
        int inTheWay;       // 1: a folder in its place, 2: a FIFO, which would be waited on
        int ageSeconds;
        LockFileLock::Outcome expected;
    };
    const Case cases[] = {
        {"empty file being written by a starting instance", "", 0, 0, LockFileLock::HeldElsewhere},
        {"empty file left by a power cut", "", 0, 60, LockFileLock::Acquired},
        {"damaged file left long ago", "\x01\x02garbage", 0, 3600, LockFileLock::Acquired},
        {"a folder in the way", "", 1, 60, LockFileLock::Failed},
        {"a FIFO in the way", "", 2, 60, LockFileLock::Failed},
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
        LockFileLock instance(dir.path().toStdString());
        ::alarm(30); // a wait for ever ends the test
        EXPECT_EQ(instance.TryLock(), c.expected);
        ::alarm(0);
        EXPECT_EQ(instance.ErrorText().empty(), c.expected != LockFileLock::Failed);
        if (c.expected == LockFileLock::Acquired) {
            LockFileLock second(dir.path().toStdString());
            EXPECT_EQ(second.TryLock(), LockFileLock::HeldElsewhere); // a real lock now
        }
    }
}

// A folder that cannot hold the lock is a failure to report, not another instance.
TEST(SingleInstance, UnwritableFolderFailsWithAMessage) {
    for (const QString& folder :
         {QStringLiteral("/proc"), QStringLiteral("/nonexistent/padwright")}) {
        SCOPED_TRACE(folder.toStdString());
        LockFileLock instance(folder.toStdString());
        EXPECT_EQ(instance.TryLock(), LockFileLock::Failed);
        EXPECT_NE(instance.ErrorText().find(instance.LockPath()), std::string::npos)
            << instance.ErrorText();
    }
}

} // namespace
} // namespace padwright
