// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace brightsum {

// The program's texts in the desktop's language: our catalogue, built into the program, and
// Qt's own for the buttons of its dialogs. English needs neither: it is the language of the
// sources, and with no catalogue installed every text stays exactly as written.
class Translation {
public:
    // Installs the catalogues for the first of the desktop's languages that the program ships.
    // Call once the QApplication exists and before any window is built. Returns the language
    // chosen ("de", "pt_BR"), or an empty text for English.
    static QString installForDesktop();

    // Replaces the installed catalogues by those of `language` (a name from
    // shippedLanguages(), or empty for English). False, with English in place, when the
    // program has no catalogue of that name.
    static bool use(const QString& language);

    // The languages the program has a catalogue for, by the catalogues' names.
    static QStringList shippedLanguages();
};

}  // namespace brightsum
