// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include "Announcer.h"
#include "BoardButton.h"
#include "Engine.h"
#include "MessageTexts.h"
#include "WindowLayout.h"

#include <QAction>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace brightsum {

namespace {

using layout::face;
using layout::twipRect;

const QColor kBackground(255, 255, 192);

struct LabelLayout {
    Label id;
    const char* name;
    int left, top, width, height;
    const char* text;
    const char* description;
};

// The question line: first number, sign, second number, "=", target. The creation texts are
// never seen; the descriptions are read out by screen readers.
constexpr LabelLayout kQuestionLine[] = {
    {Label::lblPart1, "lblPart1", 1680, 120, 855, 495, "Label1",
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "first number")},
    {Label::lblOper, "lblOper", 2760, 120, 855, 495, "Label1",
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "operation sign")},
    {Label::lblPart2, "lblPart2", 3720, 120, 855, 495, "Label2",
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "second number")},
    {Label::lblEqual, "lblEqual", 4680, 120, 375, 495, "=",
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "equals sign")},
    {Label::lblAnswer, "lblAnswer", 5400, 120, 855, 495, "Label1",
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "target number")},
};

struct StatusLayout {
    const char* captionName;
    int captionLeft, captionWidth;
    const char* captionText;
    const char* captionDescription;
    Label value;
    const char* valueName;
    int valueLeft, valueWidth;
    const char* valueText;
    const char* valueDescription;
};

// The status line: each fixed caption is followed by the label that carries its value.
constexpr StatusLayout kStatusLine[] = {
    {"Label1", 240, 1095,
     //: Status line, before the score. At most 73 pixels wide in bold: about 12 letters.
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "Total Points:"),
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "caption of the score"), Label::lblScore,
     "lblScore", 1440, 615, "0", QT_TRANSLATE_NOOP("brightsum::MainWindow", "score")},
    {"Label2", 2160, 1455,
     //: Status line, before what the question is still worth. At most 97 pixels wide in bold:
     //: about 16 letters.
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "Question Value:"),
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "caption of the question value"), Label::lblPoints,
     "lblPoints", 3720, 615, "1000", QT_TRANSLATE_NOOP("brightsum::MainWindow", "question value")},
    {"Label4", 4440, 1095,
     //: Status line, before the number of the question (1 to 10). At most 73 pixels wide in
     //: bold: about 12 letters.
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "Question #:"),
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "caption of the question number"),
     Label::lblQuestionNumber, "lblQuestionNumber", 5640, 375, "1",
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "question number")},
    {"Label3", 6120, 735,
     //: Status line, before the level (1 to 5). At most 49 pixels wide in bold: about 8
     //: letters.
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "Level:"),
     QT_TRANSLATE_NOOP("brightsum::MainWindow", "caption of the level"), Label::lblLevel,
     "lblLevel", 6840, 495, "1", QT_TRANSLATE_NOOP("brightsum::MainWindow", "level")},
};
constexpr int kStatusTop = 720;
constexpr int kStatusHeight = 255;

constexpr int kColumns = 6;

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& place, const QString& text,
                  const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Brightsum"));
    // Sizable, with minimize but no maximize box.
    setWindowFlags(layout::kSizableWindow);

    // Controls sit at fixed places; a larger window only uncovers more of the background.
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setMinimumSize(kClientWidth, kClientHeight);
    layout::setBackground(m_client, kBackground);
    m_client->setFont(face(8.25, false));
    setCentralWidget(m_client);

    createBoard();
    createQuestionLine();
    createStatusLine();
    createTimers();
    createMenus();

    // What the game says reaches screen readers through it; it is never drawn.
    m_announcer = new Announcer(m_client);

    m_buttons[0]->setFocus();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::createQuestionLine() {
    const QFont font = face(24, false);
    for (const LabelLayout& entry : kQuestionLine) {
        QLabel* label = makeLabel(m_client, entry.name,
                                  twipRect(entry.left, entry.top, entry.width, entry.height),
                                  QString::fromLatin1(entry.text), font);
        label->setAccessibleDescription(tr(entry.description));
        m_labels[static_cast<std::size_t>(entry.id)] = label;
    }
}

void MainWindow::createStatusLine() {
    const QFont font = face(8.25, true);
    for (const StatusLayout& entry : kStatusLine) {
        QLabel* caption =
            makeLabel(m_client, entry.captionName,
                      twipRect(entry.captionLeft, kStatusTop, entry.captionWidth, kStatusHeight),
                      tr(entry.captionText), font);
        caption->setAccessibleDescription(tr(entry.captionDescription));
        QLabel* value =
            makeLabel(m_client, entry.valueName,
                      twipRect(entry.valueLeft, kStatusTop, entry.valueWidth, kStatusHeight),
                      QString::fromLatin1(entry.valueText), font);
        value->setAccessibleDescription(tr(entry.valueDescription));
        m_labels[static_cast<std::size_t>(entry.value)] = value;
    }
}

void MainWindow::createBoard() {
    const QFont font = face(13.5, true);
    for (int i = 0; i < kBoardButtons; ++i) {
        const int column = i % kColumns;
        const int row = i / kColumns;
        auto* button = new BoardButton(m_client);
        button->setObjectName(QStringLiteral("Cmd_Number_%1").arg(i));
        button->setGeometry(twipRect(240 + 1200 * column, 1080 + 600 * row, 1095, 495));
        button->setFont(font);
        button->setText(QStringLiteral("0"));
        button->setAccessibleDescription(
            //: Read out by screen readers for a board button: "row 2, column 5".
            tr("row %1, column %2").arg(row + 1).arg(column + 1));
        m_buttons[static_cast<std::size_t>(i)] = button;
        if (i > 0) {
            setTabOrder(m_buttons[static_cast<std::size_t>(i - 1)], button);
        }
    }

    // Starts a game when clicked, but stays hidden: games start from the menus.
    m_cmdStart = new QPushButton(tr("New Game"), m_client);
    m_cmdStart->setObjectName(QStringLiteral("cmdStart"));
    m_cmdStart->setGeometry(twipRect(3120, 4680, 1455, 375));
    m_cmdStart->hide();
}

void MainWindow::createTimers() {
    auto makeTimer = [this](Timer id, const char* name, Qt::TimerType type) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(name));
        timer->setInterval(timerIntervalMs(id));
        timer->setTimerType(type);
        m_timers[static_cast<std::size_t>(id)] = timer;
        return timer;
    };
    // A coarse timer of 23 s would round to whole seconds; the question clock must not.
    makeTimer(Timer::tmrCounter, "tmrCounter", Qt::PreciseTimer);
    makeTimer(Timer::tmrPoints, "tmrPoints", Qt::PreciseTimer);
    makeTimer(Timer::tmrInit, "tmrInit", Qt::CoarseTimer)->start();
}

void MainWindow::createMenus() {
    QMenuBar* bar = menuBar();

    auto levelMenu = [bar](const char* name, const QString& title, const char* entryPrefix,
                           std::array<QAction*, 5>& entries) {
        QMenu* menu = bar->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        for (int level = 1; level <= 5; ++level) {
            //: Menu entry that starts a game; %1 is the level, 1 to 5, and its access key.
            QAction* entry = menu->addAction(tr("Start Level &%1").arg(level));
            entry->setObjectName(QString::fromLatin1(entryPrefix) + QString::number(level));
            entries[static_cast<std::size_t>(level - 1)] = entry;
        }
        return menu;
    };
    m_mnuAddition = levelMenu("mnuAddition", tr("&Addition"), "add", m_add);
    m_mnuSub = levelMenu("mnuSub", tr("&Subtraction"), "sub", m_sub);

    // A command on the bar itself, with no menu under it.
    //: On the menu bar; its access key may be the same as that of "&Help".
    m_mnuhiscore = bar->addAction(tr("&High Scores"));
    m_mnuhiscore->setObjectName(QStringLiteral("mnuhiscore"));

    m_mnuhelp = bar->addMenu(tr("&Help"));
    m_mnuhelp->setObjectName(QStringLiteral("mnuhelp"));
    m_mnuhelp->menuAction()->setObjectName(QStringLiteral("mnuhelp"));
    m_mnuHowtoPlay = m_mnuhelp->addAction(tr("&Information and Instructions"));
    m_mnuHowtoPlay->setObjectName(QStringLiteral("mnuHowtoPlay"));
    m_mnuAbout = m_mnuhelp->addAction(tr("&About Sumbright"));
    m_mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
}

void MainWindow::attach(Engine& engine) {
    using Handler = void (Engine::*)();
    static constexpr std::array<Handler, 5> kAdd{&Engine::add1_Click, &Engine::add2_Click,
                                                 &Engine::add3_Click, &Engine::add4_Click,
                                                 &Engine::add5_Click};
    static constexpr std::array<Handler, 5> kSub{&Engine::sub1_Click, &Engine::sub2_Click,
                                                 &Engine::sub3_Click, &Engine::sub4_Click,
                                                 &Engine::sub5_Click};
    for (std::size_t i = 0; i < kAdd.size(); ++i) {
        connect(m_add[i], &QAction::triggered, this, [&engine, h = kAdd[i]] { (engine.*h)(); });
        connect(m_sub[i], &QAction::triggered, this, [&engine, h = kSub[i]] { (engine.*h)(); });
    }
    connect(m_mnuhiscore, &QAction::triggered, this, [&engine] { engine.mnuhiscore_Click(); });
    // mnuHowtoPlay and mnuAbout are not the game's: GameSession connects them.

    for (int i = 0; i < kBoardButtons; ++i) {
        connect(m_buttons[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [&engine, i] { engine.Cmd_Number_Click(i); });
    }
    // The New Game button is never shown, yet assistive technology can still press a hidden
    // button; a start from it would begin a game with no operation chosen. Only a button the
    // player can see starts a game; the menu entries are the way in.
    connect(m_cmdStart, &QPushButton::clicked, this, [this, &engine] {
        if (m_cmdStart->isVisible()) {
            engine.cmdStart_Click();
        }
    });

    connect(timer(Timer::tmrCounter), &QTimer::timeout, this,
            [&engine] { engine.tmrCounter_Timer(); });
    connect(timer(Timer::tmrPoints), &QTimer::timeout, this,
            [&engine] { engine.tmrPoints_Timer(); });
    connect(timer(Timer::tmrInit), &QTimer::timeout, this, [&engine] { engine.tmrInit_Timer(); });

    // The question again, for a player who hears it: wherever the focus is in the window.
    // Held down, it says it once.
    auto* repeat = new QShortcut(QKeySequence(Qt::Key_F5), this);
    repeat->setAutoRepeat(false);
    connect(repeat, &QShortcut::activated, this, [&engine] { engine.repeatQuestion(); });
}

void MainWindow::setCaption(Label id, const std::string& text) {
    label(id)->setText(QString::fromStdString(text));
}

std::string MainWindow::caption(Label id) const {
    return label(id)->text().toStdString();
}

void MainWindow::setButtonCaption(int index, const std::string& text) {
    numberButton(index)->setText(QString::fromStdString(text));
}

std::string MainWindow::buttonCaption(int index) const {
    return numberButton(index)->text().toStdString();
}

void MainWindow::setButtonColour(int index, int paletteIndex) {
    numberButton(index)->setColour(paletteColour(paletteIndex));
}

void MainWindow::setButtonPicked(int index, bool picked) {
    numberButton(index)->setPicked(picked);
}

void MainWindow::setTimerEnabled(Timer id, bool enabled) {
    QTimer* t = timer(id);
    if (!enabled) {
        t->stop();
    } else if (!t->isActive()) {
        t->start();
    }
}

void MainWindow::centre() {
    // The outer size includes the frame, which the platform knows once the window exists.
    create();
    layout::centreOnScreen(this);
}

void MainWindow::announce(const Message& message) {
    m_announcer->say(messageText(message));
}

QLabel* MainWindow::label(Label id) const {
    return m_labels.at(static_cast<std::size_t>(id));
}

BoardButton* MainWindow::numberButton(int index) const {
    return m_buttons.at(static_cast<std::size_t>(index));
}

QTimer* MainWindow::timer(Timer id) const {
    return m_timers.at(static_cast<std::size_t>(id));
}

QColor MainWindow::paletteColour(int paletteIndex) {
    static constexpr QRgb kColours[16] = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
    };
    return QColor(kColours[paletteIndex & 15]);
}

}  // namespace brightsum
