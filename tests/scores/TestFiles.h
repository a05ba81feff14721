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
    HighScoreFile scoreFile() const {
        return HighScoreFile(m_program.toStdString(), m_data.toStdString());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QString m_data;
};

}  // namespace brightsum::testfiles
