// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFileWriter.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <memory>

using namespace brightsum;
using namespace brightsum::testfiles;

#ifndef _WIN32
namespace {

QByteArray local(const QString& path) {
    return path.toLocal8Bit();
}

struct stat lstatOf(const QString& path) {
    struct stat st {};
    if (::lstat(local(path).constData(), &st) != 0) {
        st.st_ino = 0;
    }
    return st;
}

struct stat statOf(const QString& path) {
    struct stat st {};
    if (::stat(local(path).constData(), &st) != 0) {
        st.st_ino = 0;
    }
    return st;
}

}  // namespace
#endif

// The writer that replaces "hiscore.dat": whole files or none, a flush before the rename and
// one after it, and no temporary file left behind by a write that ended.
class AtomicFileWriterTest : public QObject, private Folders {
    Q_OBJECT

private slots:
    void init() { QVERIFY(makeFolders()); }
    void cleanup() { m_dir.reset(); }

#ifndef _WIN32
    void replacesTheFileWholeKeepingItsPermissions() {
        const AtomicFileWriter writer(HighScoreFile::kTempPrefix);
        const QString target = m_program + "/hiscore.dat";

        // A new file follows the umask, as any program's does: 002 in a group's shared folder.
        const mode_t mask = ::umask(002);
        const bool created = writer.replace(local(target).constData(), "first");
        ::umask(mask);
        QVERIFY(created);
        QCOMPARE(readBytes(target), QByteArray("first"));
        QCOMPARE(statOf(target).st_mode & 07777, mode_t(0664));

        // A replaced file keeps its bits; the new bytes are a new file, not written in place.
        QCOMPARE(::chmod(local(target).constData(), 0640), 0);
        const ino_t before = statOf(target).st_ino;
        QVERIFY(writer.replace(local(target).constData(), "second"));
        QCOMPARE(readBytes(target), QByteArray("second"));
        QCOMPARE(statOf(target).st_mode & 07777, mode_t(0640));
        QVERIFY(statOf(target).st_ino != before);
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }

    void symlinkIsReplacedNotWrittenThrough() {
        const AtomicFileWriter writer(HighScoreFile::kTempPrefix);
        const QString outside = m_dir->filePath("elsewhere.dat");
        const QString target = m_program + "/hiscore.dat";
        QVERIFY(writeBytes(outside, "theirs"));
        QVERIFY(QFile::link(outside, target));

        QVERIFY(writer.replace(local(target).constData(), "ours"));
        QVERIFY(!QFileInfo(target).isSymLink());
        QCOMPARE(readBytes(target), QByteArray("ours"));
        QCOMPARE(readBytes(outside), QByteArray("theirs"));
    }

#else
    // What Windows keeps of a file in place of its permissions: a replaced file stays hidden
    // when the player hid it, and is a new file all the same.
    void replacesTheFileWholeKeepingItsAttributes() {
        const AtomicFileWriter writer(HighScoreFile::kTempPrefix);
        const QString target = m_program + "/hiscore.dat";
        QVERIFY(writer.replace(pathOf(target), "first"));
        QCOMPARE(::GetFileAttributesW(pathOf(target).c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD(0));
        QVERIFY(::SetFileAttributesW(pathOf(target).c_str(), FILE_ATTRIBUTE_HIDDEN));
        const quint64 before = fileIdOf(target);
        QVERIFY(writer.replace(pathOf(target), "second"));
        QCOMPARE(readBytes(target), QByteArray("second"));
        QVERIFY(::GetFileAttributesW(pathOf(target).c_str()) & FILE_ATTRIBUTE_HIDDEN);
        QVERIFY(fileIdOf(target) != before);
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }
#endif

    void flushesTheFileBeforeTheRenameAndTheFolderAfterIt() {
        const QString target = m_program + "/hiscore.dat";
        QVERIFY(writeBytes(target, "old"));
        AtomicFileWriter writer(HighScoreFile::kTempPrefix);
        auto steps = std::make_shared<QStringList>();
        writer.setHooks(
            {.write = {},
             .beforeRename =
                 [steps, target] { *steps << "rename, file still " + QString(readBytes(target)); },
             .flush =
                 [steps](AtomicFileWriter::Flush what) {
                     *steps << (what == AtomicFileWriter::Flush::Folder ? "flush folder"
                                                                        : "flush file");
                     return true;
                 }});
        QVERIFY(writer.replace(pathOf(target), "new"));
        QCOMPARE(*steps, (QStringList{"flush file", "rename, file still old", "flush folder"}));
        QCOMPARE(readBytes(target), QByteArray("new"));
    }

    // Every write ends with the whole new file or the whole old one. A write that stores only
    // part of what it was given, or is interrupted by a signal, is carried on to the end.
    void writeEndsWithAWholeFile_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("disk full") << "full" << false;
        QTest::newRow("flush fails") << "flush" << false;
        QTest::newRow("7 bytes a write, every other one interrupted") << "short" << true;
    }

    void writeEndsWithAWholeFile() {
        QFETCH(QString, fault);
        QFETCH(bool, replaced);
        const QString target = m_program + "/hiscore.dat";
        QVERIFY(writeBytes(target, "old"));
        AtomicFileWriter writer(HighScoreFile::kTempPrefix);
        AtomicFileWriter::Hooks hooks;
        auto calls = std::make_shared<int>(0);
        if (fault == "full") {
            hooks.write = [](std::size_t) -> long { return 0; };
        } else if (fault == "flush") {
            hooks.flush = [](AtomicFileWriter::Flush) { return false; };
        } else {
            hooks.write = [calls](std::size_t size) {
                return ++*calls % 2 ? AtomicFileWriter::kInterrupted : std::min(long(size), 7L);
            };
        }
        writer.setHooks(hooks);
        const QByteArray table = fixture("ten.dat");
        QCOMPARE(writer.replace(pathOf(target), table.toStdString()), replaced);
        QCOMPARE(readBytes(target), replaced ? table : QByteArray("old"));
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }

    void onlyAbandonedTemporaryFilesAreRemoved() {
        const QStringList abandoned{".hiscore.dat.Ab12Cd", ".hiscore.dat.zzzzzz"};
        const QStringList notOurs{".hiscore.dat.bak", ".hiscore.dat.1234567",
                                  ".hiscore.datXabcdef"};
        const QString busy = ".hiscore.dat.BUSY00";
        for (const QString& name : abandoned + notOurs + QStringList{busy}) {
            QVERIFY(writeBytes(m_program + "/" + name, "leftover"));
        }
        QVERIFY(QDir().mkpath(m_program + "/.hiscore.dat.folder"));

        // Another program is still writing this one: it holds the lock (on Windows, the file
        // open without sharing its removal).
#ifdef _WIN32
        const HANDLE held =
            ::CreateFileW(pathOf(m_program + "/" + busy).c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        QVERIFY(held != INVALID_HANDLE_VALUE);
#else
        const int held = ::open(local(m_program + "/" + busy).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(held >= 0);
        QCOMPARE(::flock(held, LOCK_EX), 0);
#endif

        const AtomicFileWriter writer(HighScoreFile::kTempPrefix);
        const std::filesystem::path target = pathOf(programFile());
        QVERIFY(writer.replace(target, "table"));
        QStringList expected = notOurs + QStringList{busy, ".hiscore.dat.folder"};
        QStringList left = hiddenEntries(m_program);
        expected.sort();
        left.sort();
        QCOMPARE(left, expected);

#ifdef _WIN32
        ::CloseHandle(held);  // its writer is gone: the next save clears it
#else
        ::close(held);  // its writer is gone: the next save clears it
#endif
        QVERIFY(writer.replace(target, "table"));
        QVERIFY(!hiddenEntries(m_program).contains(busy));

        QVERIFY(writer.isTempName(".hiscore.dat.Ab12Cd"));
        for (const QString& name : notOurs + QStringList{"hiscore.dat", "hiscore.lock"}) {
            QVERIFY2(!writer.isTempName(name.toStdString()), qPrintable(name));
        }
    }

#ifndef _WIN32
    void linkNamesTheLinkItselfNeverItsTarget() {
        const AtomicFileWriter writer(HighScoreFile::kTempPrefix);
        const QString file = m_program + "/hiscore.dat";
        const QString second = m_program + "/hiscore.bad";
        QVERIFY(writeBytes(second, "an older one"));

        // A file: one more name for the same bytes, whatever stood under that name before.
        QVERIFY(writeBytes(file, "damaged"));
        QVERIFY(writer.link(local(file).toStdString(), local(second).toStdString()));
        QCOMPARE(lstatOf(second).st_ino, lstatOf(file).st_ino);
        QCOMPARE(lstatOf(file).st_nlink, nlink_t(2));
        QCOMPARE(readBytes(second), QByteArray("damaged"));

        // A symbolic link to a file elsewhere: the second name is a link too, and the file
        // elsewhere gains no name.
        const QString outside = m_dir->filePath("outside");
        QVERIFY(writeBytes(outside, "not ours"));
        QVERIFY(QFile::remove(file) && QFile::link(outside, file));
        QVERIFY(writer.link(local(file).toStdString(), local(second).toStdString()));
        QVERIFY(S_ISLNK(lstatOf(second).st_mode));
        QCOMPARE(QFileInfo(second).symLinkTarget(), outside);
        QVERIFY(lstatOf(second).st_ino != statOf(outside).st_ino);
        QCOMPARE(statOf(outside).st_nlink, nlink_t(1));
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }

    void moveRenamesTheNameItself() {
        const AtomicFileWriter writer(HighScoreFile::kTempPrefix);
        const QString outside = m_dir->filePath("outside");
        const QString file = m_program + "/hiscore.dat";
        const QString moved = m_program + "/hiscore.bad";
        QVERIFY(writeBytes(outside, "not ours"));
        QVERIFY(QFile::link(outside, file));
        QVERIFY(writer.move(local(file).toStdString(), local(moved).toStdString()));
        QVERIFY(!QFileInfo::exists(file) && !QFileInfo(file).isSymLink());
        QVERIFY(S_ISLNK(lstatOf(moved).st_mode));
        QCOMPARE(statOf(outside).st_nlink, nlink_t(1));
        QVERIFY(!writer.move(local(file).toStdString(), local(moved).toStdString()));
    }
#else
    // Links on Windows need a privilege the game does not have; hard links it may make.
    void linkGivesTheFileASecondNameAndMoveRenamesIt() {
        const AtomicFileWriter writer(HighScoreFile::kTempPrefix);
        const QString file = m_program + "/hiscore.dat";
        const QString second = m_program + "/hiscore.bad";
        QVERIFY(writeBytes(second, "an older one"));
        QVERIFY(writeBytes(file, "damaged"));
        QVERIFY(writer.link(pathOf(file), pathOf(second)));
        QCOMPARE(fileIdOf(second), fileIdOf(file));
        QCOMPARE(readBytes(second), QByteArray("damaged"));

        const QString moved = m_program + "/moved";
        QVERIFY(writer.move(pathOf(second), pathOf(moved)));
        QVERIFY(!QFileInfo::exists(second));
        QCOMPARE(fileIdOf(moved), fileIdOf(file));
        QVERIFY(!writer.move(pathOf(second), pathOf(moved)));
        QCOMPARE(hiddenEntries(m_program), QStringList());
    }
#endif
};

QTEST_GUILESS_MAIN(AtomicFileWriterTest)
#include "tst_atomic_file_writer.moc"
