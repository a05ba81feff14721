// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace brightsum {

// Matches the desktop's languages against what the program ships in each language: the
// catalogues of its texts and the help pages. English is the program's own language: it needs
// no file, and a desktop that asks for English before anything else gets it.
class LanguageChoice {
public:
    // The desktop's languages, most wanted first (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), as
    // Qt reads them. Empty when messages are in the C or POSIX locale.
    static QStringList desktopLanguages();

    // gettext's rule: LANGUAGE counts only when the locale of messages, the first of LC_ALL,
    // LC_MESSAGES and LANG that is set, is neither C nor POSIX.
    static bool messagesInCLocale(const QByteArray& lcAll, const QByteArray& lcMessages,
                                  const QByteArray& lang);

    // Whether a desktop language ("en", "en-GB", "en_US.UTF-8") asks for English.
    static bool isEnglish(const QString& uiLanguage);

    // The names a file for this desktop language may carry, most specific first: "pt-BR" and
    // "pt-Latn-BR" give "pt_BR" then "pt". English, C and POSIX give none.
    static QStringList fileNames(const QString& uiLanguage);

    // The first name that one of the desktop's languages asks for and `shipped` accepts, in
    // the desktop's order. Empty when English comes first or nothing matches.
    static QString bestMatch(const QStringList& uiLanguages,
                             const std::function<bool(const QString&)>& shipped);
};

}  // namespace brightsum
