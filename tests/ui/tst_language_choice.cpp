// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpLauncher.h"
#include "LanguageChoice.h"
#include "Translation.h"
#include "UrlOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <cstdio>
#include <cstring>

using namespace brightsum;

namespace {

// The program's choices as the real environment makes them: this executable, started with
// this argument and a folder, prints the catalogue it installed and the help page it would
// open from that folder.
constexpr const char* kChooseArgument = "--choose-in-environment";

class NoOpener final : public UrlOpener {
public:
    void openUrl(const QUrl&, Failure) override {}
};

int chooseInEnvironment(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QString language = Translation::installForDesktop();
    NoOpener opener;
    const HelpLauncher help(opener, std::filesystem::path(argv[2]));
    std::printf("%s %s\n", qPrintable(language.isEmpty() ? QStringLiteral("-") : language),
                qPrintable(help.helpPageUrl().fileName()));
    return 0;
}

}  // namespace

class LanguageChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void fileNamesForADesktopLanguage_data();
    void fileNamesForADesktopLanguage();
    void cLocaleIgnoresLanguage_data();
    void cLocaleIgnoresLanguage();
    void firstShippedLanguageWinsUnlessEnglishComesFirst_data();
    void firstShippedLanguageWinsUnlessEnglishComesFirst();
    void everyShippedLanguageHasACatalogueAndEnglishNone();
    void qtsOwnCatalogueComesWithOurs();
    void choicesInTheRealEnvironment_data();
    void choicesInTheRealEnvironment();
};

void LanguageChoiceTest::fileNamesForADesktopLanguage_data() {
    QTest::addColumn<QString>("uiLanguage");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("language") << "de" << QStringList{"de"};
    QTest::newRow("with region") << "pt-BR" << QStringList{"pt_BR", "pt"};
    QTest::newRow("with script and region") << "pt-Latn-BR" << QStringList{"pt_BR", "pt"};
    QTest::newRow("POSIX spelling") << "de_AT.UTF-8" << QStringList{"de_AT", "de"};
    QTest::newRow("modifier") << "sr_RS@latin" << QStringList{"sr_RS", "sr"};
    QTest::newRow("odd case") << "PT-br" << QStringList{"pt_BR", "pt"};
    QTest::newRow("numeric region") << "es-419" << QStringList{"es_419", "es"};
    QTest::newRow("English") << "en-GB" << QStringList{};
    QTest::newRow("C") << "C" << QStringList{};
    QTest::newRow("POSIX") << "POSIX" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
    // Whatever LANGUAGE holds ends up in a file name: a path must not.
    QTest::newRow("a path") << "../../etc/passwd" << QStringList{};
    QTest::newRow("a slash after the region") << "de_DE/../x" << QStringList{};
}

void LanguageChoiceTest::fileNamesForADesktopLanguage() {
    QFETCH(QString, uiLanguage);
    QTEST(LanguageChoice::fileNames(uiLanguage), "names");
}

void LanguageChoiceTest::cLocaleIgnoresLanguage_data() {
    QTest::addColumn<QByteArray>("lcAll");
    QTest::addColumn<QByteArray>("lcMessages");
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<bool>("inC");
    QTest::newRow("nothing set") << QByteArray() << QByteArray() << QByteArray() << true;
    QTest::newRow("LANG=C.UTF-8") << QByteArray() << QByteArray() << QByteArray("C.UTF-8") << true;
    QTest::newRow("LANG=POSIX") << QByteArray() << QByteArray() << QByteArray("POSIX") << true;
    QTest::newRow("LANG=de") << QByteArray() << QByteArray() << QByteArray("de_DE.UTF-8") << false;
    QTest::newRow("LC_MESSAGES=C over LANG=de")
        << QByteArray() << QByteArray("C") << QByteArray("de_DE.UTF-8") << true;
    QTest::newRow("LC_ALL=de over LC_MESSAGES=C")
        << QByteArray("de_DE.UTF-8") << QByteArray("C") << QByteArray() << false;
    QTest::newRow("LC_ALL=C over LANG=de")
        << QByteArray("C") << QByteArray() << QByteArray("de_DE.UTF-8") << true;
}

void LanguageChoiceTest::cLocaleIgnoresLanguage() {
    QFETCH(QByteArray, lcAll);
    QFETCH(QByteArray, lcMessages);
    QFETCH(QByteArray, lang);
    QTEST(LanguageChoice::messagesInCLocale(lcAll, lcMessages, lang), "inC");
}

void LanguageChoiceTest::firstShippedLanguageWinsUnlessEnglishComesFirst_data() {
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<QString>("page");
    // As Qt lists them for LANGUAGE=de:en.
    QTest::newRow("de:en") << QStringList{"de", "de-Latn-DE", "de-DE", "en", "en-Latn-US", "en-US"}
                           << "de"
                           << "readme.de.htm";
    QTest::newRow("en:de") << QStringList{"en", "en-Latn-US", "en-US", "de", "de-DE"} << ""
                           << "readme.htm";
    QTest::newRow("pt-BR: the page falls back to Portuguese")
        << QStringList{"pt-BR", "pt-Latn-BR", "pt"} << "pt_BR"
        << "readme.pt.htm";
    // Qt lists an unknown language and then C before the next one.
    QTest::newRow("unknown, C, then sv") << QStringList{"xx", "C", "sv", "sv-SE"} << "sv"
                                         << "readme.htm";
    QTest::newRow("a region we do not ship") << QStringList{"de-AT", "de-Latn-AT"} << "de"
                                             << "readme.de.htm";
    QTest::newRow("Portuguese of Portugal") << QStringList{"pt-PT", "pt-Latn-PT", "pt"} << ""
                                            << "readme.pt.htm";
    QTest::newRow("nothing shipped") << QStringList{"ja-JP", "ja"} << ""
                                     << "readme.htm";
    QTest::newRow("no languages") << QStringList{} << ""
                                  << "readme.htm";
}

void LanguageChoiceTest::firstShippedLanguageWinsUnlessEnglishComesFirst() {
    QFETCH(QStringList, uiLanguages);
    const QStringList catalogues{"de", "pt_BR", "sv"};
    QTEST(LanguageChoice::bestMatch(uiLanguages,
                                    [&](const QString& name) { return catalogues.contains(name); }),
          "catalogue");
    const QStringList pages{"readme.de.htm", "readme.pt.htm"};
    QTEST(HelpLauncher::helpPageName(uiLanguages,
                                     [&](const QString& page) { return pages.contains(page); }),
          "page");
}

void LanguageChoiceTest::everyShippedLanguageHasACatalogueAndEnglishNone() {
    QCOMPARE(Translation::shippedLanguages(),
             QStringLiteral(BRIGHTSUM_LANGUAGES).split(QLatin1Char(' ')));
    for (const QString& language : Translation::shippedLanguages()) {
        QVERIFY2(Translation::use(language), qPrintable(language));
    }
    QVERIFY(!Translation::use(QStringLiteral("ja")));
    QVERIFY(Translation::use(QString()));
    // English: nothing installed, so every lookup gives back its source.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

void LanguageChoiceTest::qtsOwnCatalogueComesWithOurs() {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    int checked = 0;
    for (const QString& language : Translation::shippedLanguages()) {
        if (!QFile::exists(QStringLiteral("%1/qtbase_%2.qm").arg(folder, language))) {
            continue;  // Qt has no catalogue for it (Swedish): ours carries the buttons
        }
        QVERIFY(Translation::use(language));
        QVERIFY2(QCoreApplication::translate("QPlatformTheme", "Cancel") != "Cancel",
                 qPrintable(language));
        ++checked;
    }
    QVERIFY(Translation::use(QString()));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    if (checked == 0) {
        QSKIP("Qt's catalogues (qt6-translations-l10n) are not installed");
    }
}

void LanguageChoiceTest::choicesInTheRealEnvironment_data() {
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("printed");
    QTest::newRow("LANGUAGE=de:en")
        << QStringList{"LANGUAGE=de:en", "LANG=de_DE.UTF-8"} << "de readme.de.htm";
    QTest::newRow("pt_BR: the Portuguese page")
        << QStringList{"LANG=pt_BR.UTF-8"} << "pt_BR readme.pt.htm";
    QTest::newRow("sv: no Swedish page") << QStringList{"LC_ALL=sv_SE.UTF-8"} << "sv readme.htm";
    QTest::newRow("LC_MESSAGES decides")
        << QStringList{"LANG=en_US.UTF-8", "LC_MESSAGES=de_DE.UTF-8"} << "de readme.de.htm";
    QTest::newRow("C") << QStringList{"LANG=C"} << "- readme.htm";
    QTest::newRow("C.UTF-8 with LANGUAGE")
        << QStringList{"LANGUAGE=de", "LANG=C.UTF-8"} << "- readme.htm";
    QTest::newRow("POSIX") << QStringList{"LC_ALL=POSIX", "LANG=de_DE.UTF-8"} << "- readme.htm";
    QTest::newRow("en_US") << QStringList{"LANG=en_US.UTF-8"} << "- readme.htm";
    QTest::newRow("en_GB before German")
        << QStringList{"LANGUAGE=en_GB:de", "LANG=de_DE.UTF-8"} << "- readme.htm";
    QTest::newRow("an unshipped language") << QStringList{"LANG=ja_JP.UTF-8"} << "- readme.htm";
    QTest::newRow("a path in LANGUAGE")
        << QStringList{"LANGUAGE=../../../tmp/x:de", "LANG=de_DE.UTF-8"} << "de readme.de.htm";
}

void LanguageChoiceTest::choicesInTheRealEnvironment() {
#ifdef _WIN32
    QSKIP("A Windows program speaks the language Windows is set to, whatever the environment");
#endif
    QFETCH(QStringList, environment);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const char* page : {"readme.htm", "readme.de.htm", "readme.pt.htm"}) {
        QFile file(folder.filePath(QLatin1String(page)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // Not a page: a folder of that name is no help.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("readme.sv.htm")));

    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        env.remove(QLatin1String(name));
    }
    for (const QString& setting : environment) {
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    }
    probe.setProcessEnvironment(env);
    probe.start(QCoreApplication::applicationFilePath(),
                {QLatin1String(kChooseArgument), folder.path()});
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitCode(), 0);
    QTEST(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), "printed");
}

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], kChooseArgument) == 0) {
        return chooseInEnvironment(argc, argv);
    }
    QCoreApplication app(argc, argv);
    LanguageChoiceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_language_choice.moc"
