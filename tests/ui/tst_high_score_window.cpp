// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreFormat.h"
#include "HighScoreTable.h"
#include "HighScoreWindow.h"
#include "HighScoreWindowOpener.h"
#include "SimSound.h"
#include "WidgetTestSupport.h"

#include <QAccessible>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace brightsum;

namespace {

// The table as it stands after reading the default file: numbers keep the file's blank.
HighScoreTable tableFromDefaultFile() {
    return HighScoreFormat::parse(
               HighScoreFormat::serialise(HighScoreTable::DefaultHighScores()).value())
        .table.value();
}

QStringList rows(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

void deleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class HighScoreWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void rowsCopyTheTableAsItHoldsIt_data();
    void rowsCopyTheTableAsItHoldsIt();
    void windowLayout();
    void okayAndCloseBoxDestroyTheWindow();
    void losingTheWindowsOwnFocusClosesIt();
    void oneWindowAtMost();
    void listsShowEveryRowAtALargeDesktopFont();
    void rowsOfTheThreeListsStayAligned_data();
    void rowsOfTheThreeListsStayAligned();
    void returnEnterAndEscapeClose_data();
    void returnEnterAndEscapeClose();
    void aScreenReaderHearsEachRowWhole();
};

void HighScoreWindowTest::cleanup() {
    for (HighScoreWindow* form : visibleWindows<HighScoreWindow>()) {
        form->close();
    }
    deleteClosedWindows();
}

void HighScoreWindowTest::rowsCopyTheTableAsItHoldsIt_data() {
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

void HighScoreWindowTest::rowsCopyTheTableAsItHoldsIt() {
    QFETCH(bool, newEntry);
    HighScoreTable table = tableFromDefaultFile();
    if (newEntry) {
        // A player who cancelled the name prompt: an empty name is an empty row.
        table.InsertHighScore(3, "", 850, 4);
    }
    HighScoreWindow form(table, nullptr);
    QTEST(rows(form.names()), "names");
    QTEST(rows(form.scores()), "scores");
    QTEST(rows(form.levels()), "levels");
}

void HighScoreWindowTest::windowLayout() {
    int cues = 0;
    auto* form = new HighScoreWindow(tableFromDefaultFile(), [&cues] { ++cues; });
    QCOMPARE(cues, 1);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));

    QCOMPARE(form->windowTitle(), QStringLiteral("High Scores"));
    QCOMPARE(form->size(), QSize(273, 230));
    QCOMPARE(form->grab().toImage().pixelColor(260, 220), QColor(192, 255, 192));
    QCOMPARE(form->levels()->geometry(), QRect(208, 8, 57, 186));
    QCOMPARE(form->okay()->geometry(), QRect(96, 200, 81, 25));
    QCOMPARE(form->okay()->text(), QStringLiteral("Okay"));
    QCOMPARE(QApplication::focusWidget(), form->names());
    QVERIFY(centredOnScreen(form));
    // Screen readers meet it as a window, not as a pane.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(form);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Window);
}

void HighScoreWindowTest::okayAndCloseBoxDestroyTheWindow() {
    QPointer<HighScoreWindow> byOkay = new HighScoreWindow(tableFromDefaultFile(), nullptr);
    byOkay->show();
    QTest::mouseClick(byOkay->okay(), Qt::LeftButton);
    deleteClosedWindows();
    QVERIFY(byOkay.isNull());

    QPointer<HighScoreWindow> byCloseBox = new HighScoreWindow(tableFromDefaultFile(), nullptr);
    byCloseBox->show();
    QVERIFY(QTest::qWaitForWindowExposed(byCloseBox));
    // What the window system sends when the close box is pressed.
    QCloseEvent closeBox;
    QApplication::sendEvent(byCloseBox->windowHandle(), &closeBox);
    QVERIFY(closeBox.isAccepted());
    deleteClosedWindows();
    QVERIFY(byCloseBox.isNull());
}

void HighScoreWindowTest::losingTheWindowsOwnFocusClosesIt() {
    QWidget other;
    other.show();
    QPointer<HighScoreWindow> form = new HighScoreWindow(tableFromDefaultFile(), nullptr);
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

void HighScoreWindowTest::oneWindowAtMost() {
    sim::SimSound sound;
    HighScoreWindowOpener port(sound);
    HighScoreTable table = tableFromDefaultFile();

    port.showHighScores(table);
    HighScoreWindow* first = port.window();
    QCOMPARE(visibleWindows<HighScoreWindow>(), QList<HighScoreWindow*>{first});
    QCOMPARE(sound.cues(), (std::vector<sim::PlayedCue>{{Cue::ShowHighScores, CueMode::Async}}));

    // Showing it again only brings the same window forward: no refill, no sound.
    table.InsertHighScore(1, "Ada", 5000, 5);
    first->showMinimized();
    port.showHighScores(table);
    QCOMPARE(visibleWindows<HighScoreWindow>(), QList<HighScoreWindow*>{first});
    QVERIFY(!first->isMinimized());
    QCOMPARE(first->names()->item(2)->text(), QStringLiteral("Quill"));
    QCOMPARE(sound.cues().size(), std::size_t{1});

    // Once closed, even before the event loop has deleted it, the next showing builds anew.
    first->okay()->click();
    port.showHighScores(table);
    HighScoreWindow* second = port.window();
    QVERIFY(second && second != first);
    QCOMPARE(visibleWindows<HighScoreWindow>(), QList<HighScoreWindow*>{second});
    QCOMPARE(second->names()->item(2)->text(), QStringLiteral("Ada"));
    QCOMPARE(sound.cues().size(), std::size_t{2});
}

// A desktop font of 13 pt must neither cut a row nor give a list a scroll bar: the three
// lists would then scroll apart.
void HighScoreWindowTest::listsShowEveryRowAtALargeDesktopFont() {
    const QFont desktopFont = QApplication::font();
    QFont large = desktopFont;
    large.setPointSizeF(13);
    QApplication::setFont(large);
    HighScoreTable table = tableFromDefaultFile();
    table.InsertHighScore(1, "Champion 1", 10000, 5);  // the widest name a player may type
    auto* form = new HighScoreWindow(table, nullptr);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    for (QListWidget* list : {form->names(), form->scores(), form->levels()}) {
        list->doItemsLayout();
        QCoreApplication::processEvents();
        QCOMPARE(list->font().pointSizeF(), 8.25);
        QVERIFY2(!list->verticalScrollBar()->isVisible(), qPrintable(list->objectName()));
        QVERIFY2(!list->horizontalScrollBar()->isVisible(), qPrintable(list->objectName()));
        const QRect viewport = list->viewport()->rect();
        const QFontMetrics metrics(list->font());
        for (int row = 0; row < list->count(); ++row) {
            const QRect item = list->visualItemRect(list->item(row));
            const QString text = list->item(row)->text();
            QVERIFY2(viewport.contains(item), qPrintable(list->objectName() + ": " + text));
            QVERIFY2(metrics.horizontalAdvance(text) <= item.width(), qPrintable(text));
        }
    }
    QApplication::setFont(desktopFont);
}

void HighScoreWindowTest::rowsOfTheThreeListsStayAligned_data() {
    QTest::addColumn<QStringList>("names");
    QTest::newRow("line separator in a name") << QStringList{u"Ada\u2028Lovelace"_qs};
    QTest::newRow("names in a fallback font")
        << QStringList{u"王小明"_qs, u"李华"_qs, u"张伟"_qs, u"刘洋"_qs, u"陈静"_qs,
                       u"杨帆"_qs,   u"赵磊"_qs, u"黄敏"_qs, u"周杰"_qs, u"吴芳"_qs};
}

// A name beside the wrong score: each row of the names list must be one line, level with the
// same row of the scores and levels lists.
void HighScoreWindowTest::rowsOfTheThreeListsStayAligned() {
    QFETCH(QStringList, names);
    HighScoreTable table = tableFromDefaultFile();
    for (int i = 0; i < names.size(); ++i) {
        table.HighNames[static_cast<std::size_t>(i)] = names[i].toStdString();
    }
    auto* form = new HighScoreWindow(table, nullptr);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    const int height = form->names()->visualItemRect(form->names()->item(0)).height();
    for (int row = 0; row < form->names()->count(); ++row) {
        const QRect name = form->names()->visualItemRect(form->names()->item(row));
        QVERIFY(!form->names()->item(row)->text().contains(QChar::LineSeparator));
        QCOMPARE(name.height(), height);
        QCOMPARE(form->scores()->visualItemRect(form->scores()->item(row)).top(), name.top());
        QCOMPARE(form->levels()->visualItemRect(form->levels()->item(row)).top(), name.top());
    }
}

void HighScoreWindowTest::returnEnterAndEscapeClose_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::newRow("Return in the names") << "List1" << int(Qt::Key_Return) << false;
    QTest::newRow("keypad Enter on Okay") << "Command1" << int(Qt::Key_Enter) << true;
    QTest::newRow("Escape in the levels") << "List3" << int(Qt::Key_Escape) << false;
}

void HighScoreWindowTest::returnEnterAndEscapeClose() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QPointer<HighScoreWindow> form = new HighScoreWindow(tableFromDefaultFile(), nullptr);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    auto* target = form->findChild<QWidget*>(focus);
    target->setFocus();
    QSignalSpy okay(form->okay(), &QPushButton::clicked);
    // Other keys leave it open.
    QTest::keyClick(target, Qt::Key_Down);
    QTest::keyClick(target, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(form->isVisible());
    QTest::keyClick(target, Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(okay.count(), 1);  // as if Okay were pressed
    deleteClosedWindows();
    QVERIFY(form.isNull());
}

// Each list holds one column; a screen reader reads only the item that has the focus, so
// without more it would hear a name alone, or a score without its name.
void HighScoreWindowTest::aScreenReaderHearsEachRowWhole() {
    HighScoreTable table = tableFromDefaultFile();
    table.InsertHighScore(1, "Ada", 10000, 3);
    table.InsertHighScore(3, "", 850, 4);
    HighScoreWindow form(table, nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QStringList heard{"Name, Score, Level", "", "1. Ada, 10000, level 3",
                            "2. Quill, 1000, level 1", "3. 850, level 4"};
    for (QListWidget* list : {form.names(), form.scores(), form.levels()}) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list);
        QCOMPARE(accessible->childCount(), 12);
        for (int row = 0; row < heard.size(); ++row) {
            QCOMPARE(accessible->child(row)->text(QAccessible::Name), heard[row]);
        }
        QCOMPARE(accessible->child(11)->text(QAccessible::Name),
                 QStringLiteral("10. Tansy, 200, level 1"));
    }
    // What the eye sees stays one column a list.
    QCOMPARE(form.names()->item(2)->text(), QStringLiteral("Ada"));
    QCOMPARE(form.scores()->item(2)->text(), QStringLiteral("10000"));
}

QTEST_MAIN(HighScoreWindowTest)
#include "tst_high_score_window.moc"
