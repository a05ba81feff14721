#include "BoardButton.h"
#include "Form1.h"

#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace brightsum;

namespace {

QColor pixelAt(QWidget* widget, QPoint point) {
    return widget->grab().toImage().pixelColor(point);
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void controlsStandAtTheirPlaces_data();
    void controlsStandAtTheirPlaces();
    void creationState();
    void clientAreaBelowMenuBarAndEnlarging();
    void fontsAndNoClippedCaption_data();
    void fontsAndNoClippedCaption();
    void menusCaptionsAndAccessKeys();
    void altKeyOpensMenu();
    void boardButtonsArePaintedFlatInTheirColour_data();
    void boardButtonsArePaintedFlatInTheirColour();
    void aChangedButtonRepaintsAlone();
    void keyboardWalksAndPressesTheBoard();
    void accessibleNamesAndDescriptions();
    void centreUsesTheOuterSize();
};

// Places converted by hand from the window's twip layout (15 twips a pixel).
void Form1Test::controlsStandAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("lblPart1") << "lblPart1" << QRect(112, 8, 57, 33);
    QTest::newRow("lblOper") << "lblOper" << QRect(184, 8, 57, 33);
    QTest::newRow("lblEqual") << "lblEqual" << QRect(312, 8, 25, 33);
    QTest::newRow("lblAnswer") << "lblAnswer" << QRect(360, 8, 57, 33);
    QTest::newRow("Label1") << "Label1" << QRect(16, 48, 73, 17);
    QTest::newRow("Label2") << "Label2" << QRect(144, 48, 97, 17);
    QTest::newRow("lblPoints") << "lblPoints" << QRect(248, 48, 41, 17);
    QTest::newRow("lblQuestionNumber") << "lblQuestionNumber" << QRect(376, 48, 25, 17);
    QTest::newRow("lblLevel") << "lblLevel" << QRect(456, 48, 33, 17);
    QTest::newRow("button 0, top left") << "Cmd_Number_0" << QRect(16, 72, 73, 33);
    QTest::newRow("button 5, top right") << "Cmd_Number_5" << QRect(416, 72, 73, 33);
    QTest::newRow("button 7, row 2 column 2") << "Cmd_Number_7" << QRect(96, 112, 73, 33);
    QTest::newRow("button 30, bottom left") << "Cmd_Number_30" << QRect(16, 272, 73, 33);
    QTest::newRow("button 35, bottom right") << "Cmd_Number_35" << QRect(416, 272, 73, 33);
    QTest::newRow("cmdStart") << "cmdStart" << QRect(208, 312, 97, 25);
}

void Form1Test::controlsStandAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    Form1 form;
    auto* control = form.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->parentWidget(), form.centralWidget());
    QCOMPARE(control->geometry(), place);
}

void Form1Test::creationState() {
    Form1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Brightsum"));

    const std::pair<const char*, const char*> texts[] = {
        {"lblPart1", "Label1"},    {"lblOper", "Label1"},         {"lblPart2", "Label2"},
        {"lblEqual", "="},         {"lblAnswer", "Label1"},       {"Label1", "Total Points:"},
        {"lblScore", "0"},         {"Label2", "Question Value:"}, {"lblPoints", "1000"},
        {"Label4", "Question #:"}, {"lblQuestionNumber", "1"},    {"Label3", "Level:"},
        {"lblLevel", "1"},
    };
    for (const auto& [name, text] : texts) {
        auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY2(label, name);
        QCOMPARE(label->text(), QString::fromLatin1(text));
        QVERIFY2(!label->autoFillBackground(), name);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }

    QCOMPARE(form.findChildren<BoardButton*>().size(), 36);
    for (int i = 0; i < kBoardButtons; ++i) {
        QCOMPARE(form.numberButton(i)->text(), QStringLiteral("0"));
        QCOMPARE(form.numberButton(i)->colour(), QColor(Qt::white));
    }

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* start = form.findChild<QPushButton*>(QStringLiteral("cmdStart"));
    QVERIFY(start);
    QCOMPARE(start->text(), QStringLiteral("New Game"));
    QVERIFY(!start->isVisible());

    // The question clock must not be rounded to whole seconds.
    const struct {
        const char* name;
        int interval;
        bool active;
        Qt::TimerType type;
    } timers[] = {{"tmrCounter", 23000, false, Qt::PreciseTimer},
                  {"tmrPoints", 1000, false, Qt::PreciseTimer},
                  {"tmrInit", 200, true, Qt::CoarseTimer}};
    for (const auto& expected : timers) {
        auto* timer = form.findChild<QTimer*>(QString::fromLatin1(expected.name));
        QVERIFY2(timer, expected.name);
        QCOMPARE(timer->interval(), expected.interval);
        QCOMPARE(timer->isActive(), expected.active);
        QCOMPARE(timer->timerType(), expected.type);
        QVERIFY(!timer->isSingleShot());
    }

    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
}

void Form1Test::clientAreaBelowMenuBarAndEnlarging() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget* client = form.centralWidget();
    QCOMPARE(client->size(), QSize(506, 350));
    QCOMPARE(client->y(), form.menuBar()->geometry().bottom() + 1);
    QCOMPARE(pixelAt(client, QPoint(3, 340)), QColor(255, 255, 192));

    const QRect button35 = form.numberButton(35)->geometry();
    form.resize(form.width() + 100, form.height() + 80);
    QTRY_COMPARE(client->size(), QSize(606, 430));
    QCOMPARE(form.numberButton(35)->geometry(), button35);
    QCOMPARE(pixelAt(client, QPoint(590, 420)), QColor(255, 255, 192));
    QCOMPARE(pixelAt(client, QPoint(500, 100)), QColor(255, 255, 192));
}

void Form1Test::fontsAndNoClippedCaption_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    // Besides the creation texts, the widest text each control shows during a game.
    QTest::addColumn<QStringList>("texts");
    // "Label1" and "Label2" of the question line are replaced before the window is first shown.
    QTest::newRow("lblPart1") << "lblPart1" << 24.0 << false << QStringList{"?", "74"};
    QTest::newRow("lblOper") << "lblOper" << 24.0 << false << QStringList{"+", "-"};
    QTest::newRow("lblPart2") << "lblPart2" << 24.0 << false << QStringList{"?", "74"};
    QTest::newRow("lblEqual") << "lblEqual" << 24.0 << false << QStringList{"="};
    QTest::newRow("lblAnswer") << "lblAnswer" << 24.0 << false << QStringList{"?", "73"};
    QTest::newRow("Label1") << "Label1" << 8.25 << true << QStringList{"Total Points:"};
    QTest::newRow("lblScore") << "lblScore" << 8.25 << true << QStringList{"10000"};
    QTest::newRow("Label2") << "Label2" << 8.25 << true << QStringList{"Question Value:"};
    QTest::newRow("lblPoints") << "lblPoints" << 8.25 << true << QStringList{"1000", "-50"};
    QTest::newRow("Label4") << "Label4" << 8.25 << true << QStringList{"Question #:"};
    QTest::newRow("lblQuestionNumber") << "lblQuestionNumber" << 8.25 << true << QStringList{"11"};
    QTest::newRow("Label3") << "Label3" << 8.25 << true << QStringList{"Level:"};
    QTest::newRow("lblLevel") << "lblLevel" << 8.25 << true << QStringList{"5"};
    QTest::newRow("board button") << "Cmd_Number_0" << 13.5 << true << QStringList{"74", "88"};
    QTest::newRow("cmdStart") << "cmdStart" << 8.25 << false << QStringList{"New Game"};
}

void Form1Test::fontsAndNoClippedCaption() {
    QFETCH(QString, name);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFETCH(QStringList, texts);
    Form1 form;
    auto* control = form.findChild<QWidget*>(name);
    QVERIFY(control);
    const QFont font = control->font();
    QCOMPARE(font.pointSizeF(), points);
    QCOMPARE(font.bold(), bold);
    // The designed face is missing here; its stand-in must have the same narrow metrics.
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));

    const QFontMetrics metrics(font);
    const bool isLabel = qobject_cast<QLabel*>(control) != nullptr;
    // Buttons lose a little to their frame.
    const int margin = isLabel ? 0 : 4;
    for (const QString& text : texts) {
        QVERIFY2(metrics.horizontalAdvance(text) <= control->width() - margin,
                 qPrintable(QStringLiteral("%1 in %2: %3 > %4")
                                .arg(text, name)
                                .arg(metrics.horizontalAdvance(text))
                                .arg(control->width() - margin)));
        if (isLabel) {
            // Labels draw from their top edge: the ink must end above the bottom edge.
            const int inkBottom = metrics.ascent() + metrics.tightBoundingRect(text).bottom();
            QVERIFY2(inkBottom < control->height(), qPrintable(text));
        } else {
            QVERIFY2(metrics.height() <= control->height() - margin, qPrintable(text));
        }
    }
}

void Form1Test::menusCaptionsAndAccessKeys() {
    Form1 form;
    const QList<QAction*> bar = form.menuBar()->actions();
    QCOMPARE(bar.size(), 4);
    const QStringList topCaptions{"&Addition", "&Subtraction", "&High Scores", "&Help"};
    const QStringList topNames{"mnuAddition", "mnuSub", "mnuhiscore", "mnuhelp"};
    const QStringList accessKeys{"Alt+A", "Alt+S", "Alt+H", "Alt+H"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(bar[i]->text(), topCaptions[i]);
        QCOMPARE(bar[i]->objectName(), topNames[i]);
        QCOMPARE(QKeySequence::mnemonic(bar[i]->text()).toString(), accessKeys[i]);
        QVERIFY(bar[i]->isEnabled() && bar[i]->isVisible() && !bar[i]->isCheckable());
    }
    // High Scores is a command on the bar itself.
    QVERIFY(!bar[2]->menu());

    const auto entries = [](QAction* top) {
        QStringList out;
        for (QAction* entry : top->menu()->actions()) {
            // No entry has a shortcut key or a check mark.
            out << entry->objectName() + QLatin1Char('=') + entry->text() +
                       entry->shortcut().toString() + (entry->isCheckable() ? "[x]" : "");
        }
        return out;
    };
    QCOMPARE(entries(bar[0]),
             (QStringList{"add1=Start Level &1", "add2=Start Level &2", "add3=Start Level &3",
                          "add4=Start Level &4", "add5=Start Level &5"}));
    QCOMPARE(entries(bar[1]),
             (QStringList{"sub1=Start Level &1", "sub2=Start Level &2", "sub3=Start Level &3",
                          "sub4=Start Level &4", "sub5=Start Level &5"}));
    QCOMPARE(entries(bar[3]), (QStringList{"mnuHowtoPlay=&Information and Instructions",
                                           "mnuAbout=&About Sumbright"}));
}

void Form1Test::altKeyOpensMenu() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("mnuSub"));
    QApplication::activePopupWidget()->close();
}

void Form1Test::boardButtonsArePaintedFlatInTheirColour_data() {
    QTest::addColumn<int>("paletteIndex");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("9, light blue") << 9 << QColor(0, 0, 255);
    QTest::newRow("10, light green") << 10 << QColor(0, 255, 0);
    QTest::newRow("15, white") << 15 << QColor(255, 255, 255);
}

void Form1Test::boardButtonsArePaintedFlatInTheirColour() {
    QFETCH(int, paletteIndex);
    QFETCH(QColor, expected);
    Form1 form;
    form.setButtonColour(7, paletteIndex);
    form.setButtonCaption(7, "88");
    BoardButton* button = form.numberButton(7);
    const QImage image = button->grab().toImage();
    // Flat: the same colour in every corner of the face and beside the caption, no gradient.
    const QPoint inside[] = {{4, 4}, {68, 4}, {4, 28}, {68, 28}, {10, 16}, {62, 16}};
    for (const QPoint& point : inside) {
        QCOMPARE(image.pixelColor(point), expected);
    }
    // Its neighbour keeps the colour of creation.
    QCOMPARE(form.numberButton(8)->grab().toImage().pixelColor(36, 4), QColor(Qt::white));
}

// The idle animation changes one button five times a second; nothing else may be redrawn.
void Form1Test::aChangedButtonRepaintsAlone() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.timer(Timer::tmrInit)->stop();
    QCoreApplication::processEvents();

    class PaintCounter final : public QObject {
    public:
        QStringList painted;

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                painted << watched->objectName();
            }
            return false;
        }
    } counter;
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        widget->installEventFilter(&counter);
    }
    form.installEventFilter(&counter);

    form.setButtonCaption(14, "23");
    form.setButtonColour(14, 10);
    QTRY_VERIFY(!counter.painted.isEmpty());
    QCoreApplication::processEvents();
    counter.painted.removeDuplicates();
    QCOMPARE(counter.painted, QStringList{"Cmd_Number_14"});
}

void Form1Test::keyboardWalksAndPressesTheBoard() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.numberButton(0));
    for (int i = 1; i < kBoardButtons; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form.numberButton(i));
    }
    QSignalSpy clicked(form.numberButton(35), &QPushButton::clicked);
    QTest::keyClick(form.numberButton(35), Qt::Key_Space);
    QCOMPARE(clicked.size(), 1);
}

void Form1Test::accessibleNamesAndDescriptions() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const std::pair<const char*, const char*> descriptions[] = {
        {"lblPart1", "first number"},
        {"lblOper", "operation sign"},
        {"lblPart2", "second number"},
        {"lblEqual", "equals sign"},
        {"lblAnswer", "target number"},
        {"lblScore", "score"},
        {"lblPoints", "question value"},
        {"lblQuestionNumber", "question number"},
        {"lblLevel", "level"},
        {"Cmd_Number_0", "row 1, column 1"},
        {"Cmd_Number_7", "row 2, column 2"},
        {"Cmd_Number_17", "row 3, column 6"},
        {"Cmd_Number_35", "row 6, column 6"},
    };
    for (const auto& [name, description] : descriptions) {
        auto* widget = form.findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY2(widget, name);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(iface);
        QCOMPARE(iface->text(QAccessible::Description), QString::fromLatin1(description));
    }

    // A label is heard by its text, a board button by its number.
    form.setCaption(Label::lblAnswer, "15");
    form.setButtonCaption(7, "12");
    QCOMPARE(QAccessible::queryAccessibleInterface(form.label(Label::lblAnswer))
                 ->text(QAccessible::Name),
             QStringLiteral("15"));
    QCOMPARE(QAccessible::queryAccessibleInterface(form.numberButton(7))->text(QAccessible::Name),
             QStringLiteral("12"));

    form.announce("Right answer.");
    auto* status = form.findChild<QLabel*>(QStringLiteral("lblStatus"));
    QVERIFY(status);
    QCOMPARE(QAccessible::queryAccessibleInterface(status)->text(QAccessible::Name),
             QStringLiteral("Right answer."));
}

void Form1Test::centreUsesTheOuterSize() {
    // Start-up centres the window before it is first shown, and a game's end centres it
    // again wherever the player has moved it.
    Form1 form;
    form.centre();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect screen = form.screen()->geometry();
    for (int pass = 0; pass < 2; ++pass) {
        const QRect outer = form.frameGeometry();
        QVERIFY(outer.size() != form.size());  // the platform draws a frame
        QVERIFY(qAbs(outer.center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(outer.center().y() - screen.center().y()) <= 1);
        form.move(0, 0);
        form.centre();
    }
}

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
