// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanguageChoice.h"

#include <QLocale>
#include <QRegularExpression>

namespace brightsum {

namespace {

// "C", "POSIX", "C.UTF-8" and the like name no language.
bool namesNoLanguage(QStringView name) {
    return name.isEmpty() || name == u"C" || name == u"POSIX" || name.startsWith(u"C.") ||
           name.startsWith(u"C@");
}

// A language, an optional script and an optional region, then an optional encoding or
// modifier: "de", "pt-BR", "uk-Cyrl-UA", "de_DE.UTF-8", "sr_RS@latin". Anything else, such as
// a path, names no file of ours.
const QRegularExpression& languageTag() {
    static const QRegularExpression tag(QStringLiteral(
        "^([A-Za-z]{2,3})(?:[-_]([A-Za-z]{4}))?(?:[-_]([A-Za-z]{2}|[0-9]{3}))?(?:[.@].*)?$"));
    return tag;
}

}  // namespace

QStringList LanguageChoice::desktopLanguages() {
    if (messagesInCLocale(qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG"))) {
        return {};
    }
    return QLocale::system().uiLanguages();
}

bool LanguageChoice::messagesInCLocale(const QByteArray& lcAll, const QByteArray& lcMessages,
                                       const QByteArray& lang) {
    for (const QByteArray* setting : {&lcAll, &lcMessages, &lang}) {
        if (!setting->isEmpty()) {
            return namesNoLanguage(QString::fromLatin1(*setting));
        }
    }
    return true;
}

bool LanguageChoice::isEnglish(const QString& uiLanguage) {
    const QRegularExpressionMatch match = languageTag().match(uiLanguage);
    return match.hasMatch() && match.captured(1).compare(u"en", Qt::CaseInsensitive) == 0;
}

QStringList LanguageChoice::fileNames(const QString& uiLanguage) {
    const QRegularExpressionMatch match = languageTag().match(uiLanguage);
    if (!match.hasMatch() || isEnglish(uiLanguage)) {
        return {};
    }
    const QString language = match.captured(1).toLower();
    const QString region = match.captured(3).toUpper();
    if (region.isEmpty()) {
        return {language};
    }
    return {language + QLatin1Char('_') + region, language};
}

QString LanguageChoice::bestMatch(const QStringList& uiLanguages,
                                  const std::function<bool(const QString&)>& shipped) {
    for (const QString& uiLanguage : uiLanguages) {
        if (isEnglish(uiLanguage)) {
            return {};
        }
        for (const QString& name : fileNames(uiLanguage)) {
            if (shipped(name)) {
                return name;
            }
        }
    }
    return {};
}

}  // namespace brightsum
