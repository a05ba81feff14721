// SPDX-License-Identifier: GPL-3.0-or-later
#include "Translation.h"

#include "LanguageChoice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <array>
#include <memory>

namespace brightsum {

namespace {

// Where the build puts our catalogues: brightsum_<language>.qm.
constexpr QLatin1StringView kCatalogueFolder(":/i18n/");
constexpr QLatin1StringView kCataloguePrefix("brightsum_");
constexpr QLatin1StringView kCatalogueSuffix(".qm");

QString cataloguePath(const QString& language) {
    return kCatalogueFolder + kCataloguePrefix + language + kCatalogueSuffix;
}

// The catalogues in use, ours last so that it is asked first.
std::array<QPointer<QTranslator>, 2>& installed() {
    static std::array<QPointer<QTranslator>, 2> translators;
    return translators;
}

void removeInstalled() {
    for (QPointer<QTranslator>& translator : installed()) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator.data();
        }
        translator.clear();
    }
}

// Qt's own catalogue has no Swedish, among others; ours can carry the buttons of the dialogs
// the game shows, under Qt's contexts, for the languages Qt has none for. Qt's generic and
// GNOME themes name them differently.
[[maybe_unused]] constexpr const char* kDialogButtons[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QGnomeTheme", "&OK"),
    QT_TRANSLATE_NOOP("QGnomeTheme", "&Cancel"),
};

// The same for the context menu of the name prompt's line edit, as QLineEdit words it; Qt
// appends each entry's shortcut after a tab itself.
[[maybe_unused]] constexpr const char* kLineEditMenu[] = {
    QT_TRANSLATE_NOOP("QLineEdit", "&Undo"),      QT_TRANSLATE_NOOP("QLineEdit", "&Redo"),
    QT_TRANSLATE_NOOP("QLineEdit", "Cu&t"),       QT_TRANSLATE_NOOP("QLineEdit", "&Copy"),
    QT_TRANSLATE_NOOP("QLineEdit", "&Paste"),     QT_TRANSLATE_NOOP("QLineEdit", "Delete"),
    QT_TRANSLATE_NOOP("QLineEdit", "Select All"),
};

}  // namespace

QString Translation::installForDesktop() {
    const QStringList shipped = shippedLanguages();
    const QString language = LanguageChoice::bestMatch(
        LanguageChoice::desktopLanguages(),
        [&shipped](const QString& name) { return shipped.contains(name); });
    use(language);
    return language;
}

bool Translation::use(const QString& language) {
    removeInstalled();
    if (language.isEmpty()) {
        return true;
    }
    auto ours = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!ours->load(cataloguePath(language))) {
        return false;
    }
    // Qt's catalogue first, so that ours, installed after it, wins where both have a text.
    auto qts = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (qts->load(QStringLiteral("qtbase_") + language,
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qts.get());
        installed()[0] = qts.release();
    }
    QCoreApplication::installTranslator(ours.get());
    installed()[1] = ours.release();
    return true;
}

QStringList Translation::shippedLanguages() {
    QStringList languages;
    const QStringList files =
        QDir(kCatalogueFolder)
            .entryList({kCataloguePrefix + u'*' + kCatalogueSuffix}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        languages.append(file.sliced(kCataloguePrefix.size()).chopped(kCatalogueSuffix.size()));
    }
    return languages;
}

}  // namespace brightsum
