// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutWindow.h"
#include "Announcer.h"
#include "GameSession.h"
#include "HelpLauncher.h"
#include "HelpViewer.h"
#include "HighScoreTable.h"
#include "HighScoreWindow.h"
#include "MainWindow.h"
#include "Message.h"
#include "MessageTexts.h"
#include "QtDialogs.h"
#include "SimSound.h"
#include "Translation.h"
#include "WidgetTestSupport.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QXmlStreamReader>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

using namespace brightsum;

namespace {

const QString kPseudo = QStringLiteral("xx_pseudo");

// What a text must fit into.
enum class Box {
    Free,     // window titles, menus, dialogs that size themselves, screen-reader texts
    Line,     // a one-line label
    Wrapped,  // a word-wrapped label
    Button,
    ListRow,
};

// One text the player can read, where it stands, and how it fits its box.
struct Shown {
    QString where;
    QString text;
    Box box = Box::Free;
    double fit = 0;  // needed / available width; above 1 it does not fit
    QString misfit;  // why it does not fit, empty when it does
};

// Texts that stay the same in every language: numbers, the signs of the sums, the program's
// name, its web address and the names of the default table.
bool neverTranslated(const QString& text) {
    static const QRegularExpression signsAndNumbers(QStringLiteral("^[0-9 +\\-=?.]*$"));
    static const QStringList fixed = [] {
        QStringList names{QStringLiteral("Brightsum"), QStringLiteral(BRIGHTSUM_WEB_ADDRESS)};
        for (const std::string& name : HighScoreTable::DefaultHighScores().HighNames) {
            names << QString::fromStdString(name);
        }
        return names;
    }();
    return signsAndNumbers.match(text).hasMatch() || fixed.contains(text);
}

bool isPseudo(const QString& text) {
    return text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']'));
}

// The texts a catalogue source (.ts) translates, by their source text with "%1" and the like
// standing for anything.
class Catalogue {
public:
    explicit Catalogue(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            qFatal("cannot read %s", qPrintable(path));
        }
        QXmlStreamReader xml(&file);
        QString source;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (xml.name() == u"source") {
                source = xml.readElementText();
            } else if (xml.name() == u"translation") {
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                const QString translation =
                    xml.readElementText(QXmlStreamReader::IncludeChildElements);
                const bool finished = type.isEmpty() && !translation.isEmpty();
                m_entries.append({pattern(source), finished && translation != source});
            }
        }
        if (xml.hasError()) {
            qFatal("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
        }
    }

    // Whether an English text can only have come from entries that are translated: every
    // entry it may come from has a finished translation of its own.
    bool translates(const QString& english) const {
        bool found = false;
        for (const Entry& entry : m_entries) {
            if (entry.source.match(english).hasMatch()) {
                if (!entry.translated) {
                    return false;
                }
                found = true;
            }
        }
        return found;
    }

private:
    struct Entry {
        QRegularExpression source;
        bool translated;
    };

    static QRegularExpression pattern(const QString& source) {
        QString expression = QRegularExpression::escape(source);
        expression.replace(QRegularExpression(QStringLiteral("%L?[0-9]+")), QStringLiteral(".+"));
        return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                                  QRegularExpression::DotMatchesEverythingOption);
    }

    QList<Entry> m_entries;
};

// Where a control stands in its window, by object names, or by class and place among its
// siblings where it has none (the parts of Qt's dialogs).
QString pathOf(const QWidget* control, const QWidget* window) {
    QStringList parts;
    for (const QWidget* w = control; w && w != window; w = w->parentWidget()) {
        QString part = w->objectName();
        if (part.isEmpty()) {
            int index = 0;
            for (const QObject* sibling : w->parent()->children()) {
                if (sibling == w) {
                    break;
                }
                index += sibling->metaObject() == w->metaObject() ? 1 : 0;
            }
            part =
                QStringLiteral("%1#%2").arg(QLatin1String(w->metaObject()->className())).arg(index);
        }
        parts.prepend(part);
    }
    return parts.join(QLatin1Char('/'));
}

void measureLine(const QLabel* label, Shown& shown) {
    const QFontMetrics metrics = label->fontMetrics();
    const QRect box = label->contentsRect();
    const int width = metrics.horizontalAdvance(shown.text);
    shown.fit = double(width) / box.width();
    if (width > box.width()) {
        shown.misfit = QStringLiteral("%1 px wide in %2 px").arg(width).arg(box.width());
    } else if (metrics.height() > box.height()) {
        shown.misfit =
            QStringLiteral("%1 px high in %2 px").arg(metrics.height()).arg(box.height());
    }
}

void measureWrapped(const QLabel* label, Shown& shown) {
    const QRect box = label->contentsRect();
    // A word longer than the line is not broken: it runs out of the box.
    const QRect needed = label->fontMetrics().boundingRect(
        box, int(label->alignment()) | Qt::TextWordWrap, shown.text);
    const int height = label->heightForWidth(label->width());
    shown.fit = qMax(double(needed.width()) / box.width(), double(height) / label->height());
    if (needed.width() > box.width()) {
        shown.misfit = QStringLiteral("%1 px wide with its longest word in %2 px")
                           .arg(needed.width())
                           .arg(box.width());
    } else if (height > label->height()) {
        shown.misfit = QStringLiteral("%1 px high in %2 px").arg(height).arg(label->height());
    }
}

void measureButton(const QPushButton* button, Shown& shown) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    option.text = shown.text;
    const QRect box =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QSize needed = button->fontMetrics().size(Qt::TextShowMnemonic, shown.text);
    shown.fit = double(needed.width()) / box.width();
    if (needed.width() > box.width() || needed.height() > box.height()) {
        shown.misfit = QStringLiteral("%1 x %2 px in %3 x %4 px")
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(box.width())
                           .arg(box.height());
    }
}

void measureRow(const QListWidget* list, Shown& shown) {
    // The view keeps a margin on either side of an item's text.
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int width = list->fontMetrics().horizontalAdvance(shown.text) + 2 * margin;
    const int available = list->viewport()->width();
    shown.fit = double(width) / available;
    if (width > available) {
        shown.misfit = QStringLiteral("%1 px wide in %2 px").arg(width).arg(available);
    }
}

// The access key of a caption: the letter after a single "&".
QChar accessKey(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (caption[i + 1] != QLatin1Char('&')) {
                return caption[i + 1].toLower();
            }
            ++i;
        }
    }
    return {};
}

// Everything one language shows, gathered window by window.
class Gatherer {
public:
    QList<Shown> shown;
    QStringList problems;  // faults that are not about fitting

    void add(const QString& where, const QString& text, Box box = Box::Free) {
        if (!text.isEmpty() && !neverTranslated(text)) {
            shown.append({where, text, box, 0, {}});
        }
    }

    // A window of ours has a fixed layout; Qt's dialogs size themselves to their texts.
    enum class Layout { Fixed, Fitted };

    void window(const QString& name, QWidget* window, Layout layout = Layout::Fixed) {
        m_fixed = layout == Layout::Fixed;
        add(name + QStringLiteral(":title"), window->windowTitle());
        accessibleTexts(name, window);
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const QString where = name + QLatin1Char('/') + pathOf(control, window);
            accessibleTexts(where, control);
            // Hidden itself or inside a hidden part, such as the announcer: never drawn.
            if (!control->isVisibleTo(window)) {
                continue;
            }
            if (auto* label = qobject_cast<QLabel*>(control)) {
                measured(where, label->text(), label->wordWrap() ? Box::Wrapped : Box::Line,
                         [label](Shown& s) {
                             label->wordWrap() ? measureWrapped(label, s) : measureLine(label, s);
                         });
            } else if (auto* button = qobject_cast<QPushButton*>(control)) {
                measured(where, button->text(), Box::Button,
                         [button](Shown& s) { measureButton(button, s); });
            } else if (auto* list = qobject_cast<QListWidget*>(control)) {
                for (int row = 0; row < list->count(); ++row) {
                    measured(where + QStringLiteral("[%1]").arg(row), list->item(row)->text(),
                             Box::ListRow, [list](Shown& s) { measureRow(list, s); });
                }
            } else if (auto* bar = qobject_cast<QMenuBar*>(control)) {
                menu(where, bar->actions(), Keys::EveryEntry);
            } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
                // Qt words this menu; where Qt has no catalogue for the language, ours must.
                const std::unique_ptr<QMenu> popup(edit->createStandardContextMenu());
                menu(where + QStringLiteral("/context menu"), popup->actions(), Keys::Unique);
            }
        }
    }

private:
    void accessibleTexts(const QString& where, const QWidget* control) {
        add(where + QStringLiteral(":name"), control->accessibleName());
        add(where + QStringLiteral(":description"), control->accessibleDescription());
    }

    void measured(const QString& where, const QString& text, Box box,
                  const std::function<void(Shown&)>& measure) {
        const qsizetype before = shown.size();
        add(where, text, m_fixed ? box : Box::Free);
        if (shown.size() > before && m_fixed) {
            measure(shown.last());
        }
    }

    // Menu captions have room to spare. Each entry of our menus has an access key, different
    // from the others' in its menu, except on the bar, where "&High Scores" and "&Help" share
    // theirs by design; Qt's line-edit menu leaves two entries without one.
    enum class Keys { EveryEntry, EveryEntryUnique, Unique };

    void menu(const QString& where, const QList<QAction*>& actions, Keys rule) {
        QHash<QChar, QString> keys;
        for (qsizetype i = 0; i < actions.size(); ++i) {
            const QAction* action = actions[i];
            const QString place =
                where + QLatin1Char('/') +
                (action->objectName().isEmpty() ? QString::number(i) : action->objectName());
            // Qt appends a shortcut after a tab; it is not the catalogue's.
            const QString caption = action->text().section(QLatin1Char('\t'), 0, 0);
            add(place, caption);
            const QChar key = accessKey(caption);
            if (key.isNull()) {
                if (!caption.isEmpty() && rule != Keys::Unique) {
                    problems << QStringLiteral("%1: no access key in \"%2\"").arg(place, caption);
                }
            } else if (rule != Keys::EveryEntry && keys.contains(key)) {
                problems << QStringLiteral("%1: access key of \"%2\" is also \"%3\"'s")
                                .arg(place, caption, keys.value(key));
            }
            keys.insert(key, caption);
            if (action->menu()) {
                menu(place, action->menu()->actions(), Keys::EveryEntryUnique);
            }
        }
    }

    bool m_fixed = true;
};

// Runs `inspect` on the modal dialog that `open` shows, then closes the dialog.
void whileDialogIsOpen(const std::function<void()>& open,
                       const std::function<void(QWidget*)>& inspect) {
    bool inspected = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            poll.stop();
            inspect(dialog);
            inspected = true;
            if (auto* box = qobject_cast<QDialog*>(dialog)) {
                box->reject();
            }
        }
    });
    poll.start();
    open();
    if (!inspected) {
        qFatal("no dialog opened");
    }
}

// Builds every window and dialog of the program in the installed language and gathers what
// each shows.
Gatherer showEverything() {
    Gatherer gather;
    QTemporaryDir folder;
    RecordingUrlOpener failing;
    failing.viewerStarts = false;

    {
        sim::SimSound sound;
        GameSession session(sound, folder.path().toStdString(),
                            (folder.path() + QStringLiteral("/data")).toStdString());
        session.start();
        MainWindow& window = session.window();
        // Every message where the game puts it: a message without a title is only spoken,
        // through the announcer; one with a title is a dialog.
        const auto name = [](const MessageInfo& info) {
            return QString::fromUtf8(info.name.data(), static_cast<qsizetype>(info.name.size()));
        };
        for (const MessageInfo& info : kMessages) {
            const Message message(info.id, 5400, 7, 12);
            if (messageTitle(message).isEmpty()) {
                window.announce(message);
                QCoreApplication::processEvents();
                gather.add(QStringLiteral("Form1/announce ") + name(info),
                           window.announcer()->shown());
            }
        }
        gather.window(QStringLiteral("Form1"), &window);

        QtDialogs dialogs(&window);
        for (const MessageInfo& info : kMessages) {
            const Message message(info.id, 5400, 7, 12);
            if (messageTitle(message).isEmpty()) {
                continue;
            }
            whileDialogIsOpen(
                [&] {
                    if (info.id == MessageId::HighScorePrompt) {
                        dialogs.askText(message, {MessageId::FinalScore, 5400});
                    } else {
                        dialogs.showMessage(message);
                    }
                },
                [&](QWidget* box) { gather.window(name(info), box, Gatherer::Layout::Fitted); });
        }
    }

    HighScoreWindow scores(HighScoreTable::DefaultHighScores(), {});
    scores.show();
    gather.window(QStringLiteral("Form2"), &scores);

    // The notices of a page that could not be opened.
    auto notice = [&gather](const char* name) {
        const QList<QMessageBox*> boxes = visibleWindows<QMessageBox>();
        if (boxes.size() != 1) {
            qFatal("%s: %d notices", name, int(boxes.size()));
        }
        gather.window(QLatin1String(name), boxes.first(), Gatherer::Layout::Fitted);
        delete boxes.first();
    };
    auto* about = new AboutWindow(failing);
    about->show();
    gather.window(QStringLiteral("frmAbout"), about);
    about->Label3_Click();
    notice("web site not opened");
    delete about;
    HelpLauncher help(failing, folder.path().toStdString());
    help.mnuHowtoPlay_Click();
    notice("help page not opened");

    // The help window names itself when the page has no title of its own.
    QFile untitled(folder.filePath(QStringLiteral("untitled.htm")));
    if (!untitled.open(QIODevice::WriteOnly) || untitled.write("<p>1 + 2 = 3</p>") < 0) {
        qFatal("cannot write %s", qPrintable(untitled.fileName()));
    }
    untitled.close();
    auto* viewer = new HelpViewer(QUrl::fromLocalFile(untitled.fileName()), failing);
    viewer->show();
    gather.window(QStringLiteral("helpViewer"), viewer, Gatherer::Layout::Fitted);
    emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("https://example.org/")));
    notice("link not opened");
    delete viewer;
    return gather;
}

}  // namespace

class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyTextTranslatedAndFitting_data();
    void everyTextTranslatedAndFitting();
    void messagesWordedWithTheirNumbers_data();
    void messagesWordedWithTheirNumbers();

private:
    QHash<QString, QString> m_english;
};

void TranslationsTest::initTestCase() {
    QVERIFY(Translation::use(QString()));
    const Gatherer english = showEverything();
    for (const Shown& shown : english.shown) {
        m_english.insert(shown.where, shown.text);
        // The English layout is the one every language is held to: it must fit itself.
        QVERIFY2(shown.misfit.isEmpty(),
                 qPrintable(shown.where + QStringLiteral(": ") + shown.misfit));
    }
    QVERIFY2(english.problems.isEmpty(), qPrintable(english.problems.join(QLatin1Char('\n'))));
    // The gathering sees every kind of place a text can stand.
    const QStringList places = m_english.keys();
    for (const char* place : {"Form1/client/Label2", "/mnuAddition/add1", "Form2/List1[0]",
                              "Form2/Command1", "frmAbout/lblDisclaimer", "GameOver/",
                              "HighScorePrompt/", "/context menu/", "help page not opened/",
                              "announce RightAnswer", "helpViewer:title", "link not opened/"}) {
        QVERIFY2(std::any_of(places.begin(), places.end(),
                             [place](const QString& key) { return key.contains(place); }),
                 place);
    }
}

void TranslationsTest::cleanupTestCase() {
    Translation::use(QString());
}

void TranslationsTest::everyTextTranslatedAndFitting_data() {
    QTest::addColumn<QString>("language");
    for (const QString& language : QStringLiteral(BRIGHTSUM_LANGUAGES).split(QLatin1Char(' '))) {
        QTest::newRow(qPrintable(language)) << language;
    }
    QTest::newRow("pseudo-language") << kPseudo;
}

void TranslationsTest::everyTextTranslatedAndFitting() {
    QFETCH(QString, language);
    QVERIFY(Translation::use(language));
    const Gatherer gathered = showEverything();
    QVERIFY(Translation::use(QString()));
    const bool pseudo = language == kPseudo;
    const std::optional<Catalogue> catalogue =
        pseudo ? std::nullopt
               : std::optional<Catalogue>(
                     Catalogue(QStringLiteral(BRIGHTSUM_TS_DIR "/brightsum_%1.ts").arg(language)));

    QStringList faults = gathered.problems;
    QStringList tooLong;
    const Shown* tightest = nullptr;
    int translated = 0;
    static const QRegularExpression number(QStringLiteral("[0-9]+"));
    for (const Shown& shown : gathered.shown) {
        const QString english = m_english.value(shown.where);
        const QString quoted = QStringLiteral("%1: \"%2\"").arg(shown.where, shown.text);
        if (pseudo && !isPseudo(shown.text)) {
            faults << QStringLiteral("bypasses the translator: ") + quoted;
        } else if (!pseudo && shown.text == english && catalogue->translates(english)) {
            faults << QStringLiteral("English left: ") + quoted;
        }
        translated += shown.text != english ? 1 : 0;
        // A number of the English text (a score, a level, the version) must not get lost.
        for (auto match = number.globalMatch(english); match.hasNext();) {
            const QString digits = match.next().captured();
            if (!shown.text.contains(digits)) {
                faults << QStringLiteral("lost the number %1: ").arg(digits) + quoted;
            }
        }
        if (!shown.misfit.isEmpty()) {
            (pseudo ? tooLong : faults) << quoted + QStringLiteral(" is ") + shown.misfit;
        }
        if (shown.box != Box::Free && (!tightest || shown.fit > tightest->fit)) {
            tightest = &shown;
        }
    }
    qInfo("%s: %d of %d texts differ from English; tightest fit %.2f (%s)", qPrintable(language),
          translated, int(gathered.shown.size()), tightest ? tightest->fit : 0.0,
          tightest ? qPrintable(tightest->where) : "none");
    for (const QString& text : tooLong) {
        qInfo("would not fit at +40 %%: %s", qPrintable(text));
    }
    for (const QString& fault : faults) {
        qWarning("%s", qPrintable(fault));
    }
    QVERIFY2(faults.isEmpty(),
             qPrintable(QStringLiteral("%1 faults, listed above").arg(faults.size())));
}

// A number left out, another message's words, or words that skip the catalogue show here.
void TranslationsTest::messagesWordedWithTheirNumbers_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<MessageId>("id");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QString>("title");  // empty for a message only spoken
    // The whole text in English; in the pseudo-language, a part it must hold.
    QTest::addColumn<QString>("text");
    QTest::newRow("game over") << "" << MessageId::GameOver << QList<int>{5400} << "Game Over"
                               << "Game over! Your final score is 5400.";
    QTest::newRow("final score of nothing") << "" << MessageId::FinalScore << QList<int>{0} << ""
                                            << "Game over. Your final score is 0.";
    QTest::newRow("name prompt")
        << "" << MessageId::HighScorePrompt << QList<int>{} << "High Score"
        << "Congratulations! You got a High Score! Please enter your name.";
    QTest::newRow("spoken") << "" << MessageId::TimeUp << QList<int>{} << ""
                            << "Time is up.";
    QTest::newRow("question") << "" << MessageId::QuestionSubtraction << QList<int>{3, 17} << ""
                              << "Question 3. Make 17 with minus.";
    QTest::newRow("wrong pair, three numbers")
        << "" << MessageId::WrongDifference << QList<int>{3, 8, 5} << ""
        << "3 minus 8 does not make 5. Try again.";
    QTest::newRow("counted points") << "" << MessageId::RightAnswer << QList<int>{950} << ""
                                    << "Right! 950 points.";
    // Polish counts 2 to 4 of a thing otherwise than 5 and more.
    QTest::newRow("a few seconds") << "pl" << MessageId::SecondsLeft << QList<int>{3} << ""
                                   << "Zostały 3 sekundy.";
    QTest::newRow("more seconds") << "pl" << MessageId::SecondsLeft << QList<int>{5} << ""
                                  << "Zostało 5 sekund.";
    QTest::newRow("translated game over")
        << kPseudo << MessageId::GameOver << QList<int>{5400} << "Game Over"
        << "Ÿőűŕ ƒïńàľ šćőŕé ïš 5400.";
    QTest::newRow("translated final score")
        << kPseudo << MessageId::FinalScore << QList<int>{720} << ""
        << "Ÿőűŕ ƒïńàľ šćőŕé ïš 720.";
    QTest::newRow("translated wrong pair")
        << kPseudo << MessageId::WrongSum << QList<int>{3, 8, 5} << ""
        << "3 ƥľűš 8 đőéš ńőŧ ɱàķé 5.";
    QTest::newRow("translated seconds") << kPseudo << MessageId::SecondsLeft << QList<int>{7} << ""
                                        << "7 šéćőńđš ľéƒŧ.";
}

void TranslationsTest::messagesWordedWithTheirNumbers() {
    QFETCH(QString, language);
    QFETCH(MessageId, id);
    QFETCH(QList<int>, numbers);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QVERIFY(Translation::use(language));
    numbers.resize(kMaxArguments);
    const Message message(id, numbers[0], numbers[1], numbers[2]);
    const QString shownTitle = messageTitle(message);
    const QString shownText = messageText(message);
    QVERIFY(Translation::use(QString()));
    if (language.isEmpty()) {
        QCOMPARE(shownTitle, title);
        QCOMPARE(shownText, text);
    } else if (language == kPseudo) {
        QCOMPARE(shownTitle.isEmpty(), title.isEmpty());
        QVERIFY2(title.isEmpty() || isPseudo(shownTitle), qPrintable(shownTitle));
        QVERIFY2(isPseudo(shownText) && shownText.contains(text), qPrintable(shownText));
    } else {
        QCOMPARE(shownText, text);
    }
}

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
