// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HighScoreFile.h"
#include "HighScoreFormat.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace brightsum::testfiles {

// The byte-exact sample files beside these tests.
inline QByteArray fixture(const QString& name) {
    QFile file(QStringLiteral(BRIGHTSUM_SCORES_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("missing test file %s", qPrintable(file.fileName()));
    }
    return file.readAll();
}

// A path as the scores core takes it. Windows names files in wide characters: a narrow string
// would go through the ANSI code page, which has no "学" and may have no "ë" either.
inline std::filesystem::path pathOf(const QString& path) {
#ifdef _WIN32
    return path.toStdWString();
#else
    return path.toStdString();
#endif
}

// What tells one file from another on its file system (the inode; on Windows the file
// index), following links; 0 when there is no file.
inline quint64 fileIdOf(const QString& path) {
#ifdef _WIN32
    const HANDLE file = ::CreateFileW(pathOf(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = file != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(file, &info);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
    }
    return known ? quint64(info.nFileIndexHigh) << 32 | info.nFileIndexLow : 0;
#else
    struct stat st {};
    return ::stat(path.toLocal8Bit().constData(), &st) == 0 ? st.st_ino : 0;
#endif
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline std::optional<HighScoreTable> parseBytes(const QByteArray& bytes) {
    return HighScoreFormat::parse(std::string_view(bytes.constData(), bytes.size())).table;
}

inline QByteArray serialised(const HighScoreTable& table) {
    const std::optional<std::string> bytes = HighScoreFormat::serialise(table);
    return bytes ? QByteArray::fromStdString(*bytes) : QByteArray("<serialise failed>");
}

// Bytes this process has read through read() and its kind so far, or -1 when /proc cannot
// tell.
inline qint64 bytesReadSoFar() {
    QFile io("/proc/self/io");
    const QList<QByteArray> lines =
        io.open(QIODevice::ReadOnly) ? io.readAll().split('\n') : QList<QByteArray>();
    for (const QByteArray& line : lines) {
        if (line.startsWith("rchar:")) {
            return line.mid(6).trimmed().toLongLong();
        }
    }
    return -1;
}

// "score|name|level" per entry, for readable comparisons.
inline QStringList rowsOf(const HighScoreTable& table) {
    QStringList rows;
    for (int i = 0; i < HighScoreTable::kEntries; ++i) {
        rows << QString::fromStdString(table.HighScores[i] + "|" + table.HighNames[i] + "|" +
                                       table.HighLevels[i]);
    }
    return rows;
}

inline QStringList fixtureRows(const QString& name) {
    return rowsOf(parseBytes(fixture(name)).value_or(HighScoreTable()));
}

// Names of the leftovers a save may leave in a folder: temporary files and the like.
inline QStringList hiddenEntries(const QString& folder) {
    return QDir(folder)
        .entryList(QDir::Hidden | QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)
        .filter(QStringLiteral(".hiscore"));
}

// A fresh program folder (created) and data folder (not created) for each test.
class Folders {
protected:
    bool makeFolders() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_program = m_dir->filePath("program");
        m_data = m_dir->filePath("data");
        return m_dir->isValid() && QDir().mkpath(m_program);
    }
    QString programFile() const { return m_program + "/hiscore.dat"; }
    QString dataFile() const { return m_data + "/hiscore.dat"; }
    HighScoreFile scoreFile() const { return HighScoreFile(pathOf(m_program), pathOf(m_data)); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QString m_data;
};

}  // namespace brightsum::testfiles
