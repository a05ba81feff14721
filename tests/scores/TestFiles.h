#pragma once

#include "HighScoreTable.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

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

inline QByteArray bytesOf(const std::string& text) {
    return QByteArray::fromStdString(text);
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

// Names of the leftovers a save may leave in a folder: temporary files and the like.
inline QStringList hiddenEntries(const QString& folder) {
    return QDir(folder)
        .entryList(QDir::Hidden | QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)
        .filter(QStringLiteral(".hiscore"));
}

}  // namespace brightsum::testfiles
