#include "Form2.h"
#include "HighScoreFile.h"
#include "HighScoreTable.h"
#include "QtHighScoreWindow.h"
#include "RecordingSound.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace brightsum;

namespace {

// The table as it stands after reading the default file: numbers keep the file's blank.
HighScoreTable tableFromDefaultFile() {
    const auto bytes = HighScoreFile::serialise(HighScoreTable::DefaultHighScores());
    const auto table = HighScoreFile::parse(bytes.value());
    return table.value();
}

QStringList rows(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

QList<Form2*> openWindows() {
    QList<Form2*> out;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<Form2*>(widget); form && form->isVisible()) {
            out << form;
        }
    }
    return out;
}

void deleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void rowsCopyTheTableAsItHoldsIt_data();
    void rowsCopyTheTableAsItHoldsIt();
    void windowLayout();
    void okayAndCloseBoxDestroyTheWindow();
    void losingTheWindowsOwnFocusClosesIt();
    void oneWindowAtMost();
};

void Form2Test::cleanup() {
    for (Form2* form : openWindows()) {
        form->close();
    }
    deleteClosedWindows();
}

void Form2Test::rowsCopyTheTableAsItHoldsIt_data() {
    QTest::addColumn<bool>("newEntry");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("scores");
    QTest::addColumn<QStringList>("levels");

    QTest::newRow("as read from the file")
        << false << QStringList{"Name",   "",       "Quill",   "Brindle", "Sorrel", "Juniper",
                                "Fennel", "Clover", "Bramble", "Tansy",   "Yarrow", "Rowan"}
        << QStringList{"Score", "",     " 1000", " 900", " 700", " 600",
                       " 500",  " 400", " 300",  " 200", " 100", " 100"}
        << QStringList{"Level", "", " 1", " 1", " 1", " 1", " 1", " 1", " 1", " 1", " 1", " 1"};
    // Entries above a new one keep the file's blank; it and those it pushed down are plain.
    QTest::newRow("after a new entry at 3")
        << true << QStringList{"Name",    "",       "Quill",  "Brindle", "",      "Sorrel",
                               "Juniper", "Fennel", "Clover", "Bramble", "Tansy", "Yarrow"}
        << QStringList{"Score", "",    " 1000", " 900", "850", "700",
                       "600",   "500", "400",   "300",  "200", "100"}
        << QStringList{"Level", "", " 1", " 1", "4", "1", "1", "1", "1", "1", "1", "1"};
}

void Form2Test::rowsCopyTheTableAsItHoldsIt() {
    QFETCH(bool, newEntry);
    QFETCH(QStringList, names);
    QFETCH(QStringList, scores);
    QFETCH(QStringList, levels);
    HighScoreTable table = tableFromDefaultFile();
    if (newEntry) {
        // A player who cancelled the name prompt: an empty name is an empty row.
        table.InsertHighScore(3, "", 850, 4);
    }
    Form2 form(table, nullptr);
    QCOMPARE(rows(form.names()), names);
    QCOMPARE(rows(form.scores()), scores);
    QCOMPARE(rows(form.levels()), levels);
}

void Form2Test::windowLayout() {
    int cues = 0;
    auto* form = new Form2(tableFromDefaultFile(), [&cues] { ++cues; });
    QPointer<Form2> guard(form);
    QCOMPARE(cues, 1);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));

    QCOMPARE(form->windowTitle(), QStringLiteral("High Scores"));
    QCOMPARE(form->size(), QSize(273, 230));
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form->grab().toImage().pixelColor(260, 220), QColor(192, 255, 192));

    const std::pair<const char*, QRect> places[] = {
        {"List1", QRect(8, 8, 113, 186)},
        {"List2", QRect(128, 8, 73, 186)},
        {"List3", QRect(208, 8, 57, 186)},
        {"Command1", QRect(96, 200, 81, 25)},
    };
    for (const auto& [name, place] : places) {
        auto* widget = form->findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY2(widget, name);
        QCOMPARE(widget->geometry(), place);
    }
    QCOMPARE(form->okay()->text(), QStringLiteral("Okay"));
    QCOMPARE(QApplication::focusWidget(), form->names());

    const QRect screen = form->screen()->geometry();
    QVERIFY(qAbs(form->frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(form->frameGeometry().center().y() - screen.center().y()) <= 1);
}

void Form2Test::okayAndCloseBoxDestroyTheWindow() {
    QPointer<Form2> byOkay = new Form2(tableFromDefaultFile(), nullptr);
    byOkay->show();
    QTest::mouseClick(byOkay->okay(), Qt::LeftButton);
    deleteClosedWindows();
    QVERIFY(byOkay.isNull());

    QPointer<Form2> byCloseBox = new Form2(tableFromDefaultFile(), nullptr);
    byCloseBox->show();
    QVERIFY(QTest::qWaitForWindowExposed(byCloseBox));
    // What the window system sends when the close box is pressed.
    QCloseEvent closeBox;
    QApplication::sendEvent(byCloseBox->windowHandle(), &closeBox);
    QVERIFY(closeBox.isAccepted());
    deleteClosedWindows();
    QVERIFY(byCloseBox.isNull());
}

void Form2Test::losingTheWindowsOwnFocusClosesIt() {
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();

    QPointer<Form2> form = new Form2(tableFromDefaultFile(), nullptr);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));

    // Focus moving among its own controls keeps it open, also from the window to a list.
    form->scores()->setFocus();
    form->setFocus();
    QCOMPARE(QApplication::focusWidget(), form.data());
    form->levels()->setFocus();
    QVERIFY(form->isVisible());

    // The window itself losing the focus to another window closes it.
    form->setFocus();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTRY_VERIFY(form.isNull() || !form->isVisible());
    deleteClosedWindows();
    QVERIFY(form.isNull());
}

void Form2Test::oneWindowAtMost() {
    RecordingSound sound;
    QtHighScoreWindow port(sound);
    HighScoreTable table = tableFromDefaultFile();

    port.showHighScores(table);
    QCOMPARE(openWindows().size(), 1);
    Form2* first = port.window();
    QVERIFY(first);
    QCOMPARE(sound.cues.size(), std::size_t{1});
    QCOMPARE(sound.cues[0].first, std::string("showhi.wav"));
    QCOMPARE(sound.cues[0].second, CueMode::Async);

    // Showing it again only brings the same window forward: no refill, no sound.
    table.InsertHighScore(1, "Ada", 5000, 5);
    first->showMinimized();
    port.showHighScores(table);
    QCOMPARE(openWindows(), QList<Form2*>{first});
    QVERIFY(!first->isMinimized());
    QCOMPARE(first->names()->item(2)->text(), QStringLiteral("Quill"));
    QCOMPARE(sound.cues.size(), std::size_t{1});

    // Once closed, even before the event loop has deleted it, the next showing builds anew.
    first->okay()->click();
    port.showHighScores(table);
    Form2* second = port.window();
    QVERIFY(second && second != first);
    QCOMPARE(openWindows(), QList<Form2*>{second});
    QCOMPARE(second->names()->item(2)->text(), QStringLiteral("Ada"));
    QCOMPARE(sound.cues.size(), std::size_t{2});
}

QTEST_MAIN(Form2Test)
#include "Form2Test.moc"
