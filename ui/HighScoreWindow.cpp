// SPDX-License-Identifier: GPL-3.0-or-later
#include "HighScoreWindow.h"

#include "FocusRingButton.h"
#include "HighScoreTable.h"
#include "WindowLayout.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

namespace brightsum {

namespace {

using layout::twipRect;

QListWidget* makeList(QWidget* parent, const char* name, const QRect& place) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(place);
    list->setSortingEnabled(false);
    // Every row as high as the header row, whatever font a name falls back to: the three
    // lists stand side by side, and a taller row in one would put a name beside the wrong
    // score.
    list->setUniformItemSizes(true);
    return list;
}

// A plain top-level QWidget reaches screen readers as a filler pane; the high-score window is
// a window of its own and says so.
QAccessibleInterface* accessibleHighScoreWindow(const QString& className, QObject* object) {
    if (className == QLatin1String("brightsum::HighScoreWindow") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

// One line per row: a line or paragraph separator in a name (a file edited by hand may hold
// one) shows as a blank.
void addRow(QListWidget* list, const std::string& text) {
    QString row = QString::fromStdString(text);
    for (QChar& c : row) {
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator ||
            c.category() == QChar::Other_Control) {
            c = QLatin1Char(' ');
        }
    }
    list->addItem(row);
}

}  // namespace

HighScoreWindow::HighScoreWindow(const HighScoreTable& table,
                                 const std::function<void()>& playShowCue, QWidget* parent)
    : QWidget(parent) {
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(accessibleHighScoreWindow);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("High Scores"));
    // Sizable, with minimize but no maximize box.
    setWindowFlags(layout::kSizableWindow);
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window alone decides when the program ends.
    setAttribute(Qt::WA_QuitOnClose, false);

    layout::setBackground(this, QColor(192, 255, 192));
    // The main window's face and size for every control, whatever the desktop's font: twelve
    // rows of it fill a list without a scroll bar.
    setFont(layout::face(8.25));

    m_names = makeList(this, "List1", twipRect(120, 120, 1695, 2790));
    m_scores = makeList(this, "List2", twipRect(1920, 120, 1095, 2790));
    m_levels = makeList(this, "List3", twipRect(3120, 120, 855, 2790));
    //: The button that closes the high-score window: about 12 letters at most.
    m_okay = new FocusRingButton(tr("Okay"), this);
    m_okay->setObjectName(QStringLiteral("Command1"));
    m_okay->setGeometry(twipRect(1440, 3000, 1215, 375));
    connect(m_okay, &QPushButton::clicked, this, &QWidget::close);

    resize(kClientWidth, kClientHeight);
    centre();
    if (playShowCue) {
        playShowCue();
    }
    fill(table);
    m_names->setFocus();
}

HighScoreWindow::~HighScoreWindow() = default;

void HighScoreWindow::centre() {
    // The outer size includes the frame, which the platform knows once the window exists.
    create();
    layout::centreOnScreen(this);
}

void HighScoreWindow::fill(const HighScoreTable& table) {
    m_names->clear();
    m_scores->clear();
    m_levels->clear();
    // The headers are rows of the lists and no wider than their list.
    //: Header of the list of names in the high-score window: about 16 letters at most.
    m_names->addItem(tr("Name"));
    //: Header of the list of scores in the high-score window: about 10 letters at most.
    m_scores->addItem(tr("Score"));
    //: Header of the list of levels (1 to 5) in the high-score window: about 8 letters at most.
    m_levels->addItem(tr("Level"));
    addRow(m_names, "");
    addRow(m_scores, "");
    addRow(m_levels, "");
    for (int i = 0; i < HighScoreTable::kEntries; ++i) {
        const auto entry = static_cast<std::size_t>(i);
        addRow(m_names, table.HighNames[entry]);
        addRow(m_scores, table.HighScores[entry]);
        addRow(m_levels, table.HighLevels[entry]);
    }
    letRowsBeHeardWhole(table);
}

void HighScoreWindow::letRowsBeHeardWhole(const HighScoreTable& table) {
    // A screen reader reads the item of the list that has the focus; each list keeps its own
    // column on screen, and gives a screen reader the whole row, whichever list has the focus.
    const auto hear = [this](int row, const QString& words) {
        for (QListWidget* list : {m_names, m_scores, m_levels}) {
            list->item(row)->setData(Qt::AccessibleTextRole, words);
        }
    };
    hear(0,
         QStringList{m_names->item(0)->text(), m_scores->item(0)->text(), m_levels->item(0)->text()}
             .join(QStringLiteral(", ")));
    for (int i = 0; i < HighScoreTable::kEntries; ++i) {
        const auto entry = static_cast<std::size_t>(i);
        const QString name = QString::fromStdString(table.HighNames[entry]).trimmed();
        const QString score = QString::fromStdString(table.HighScores[entry]).trimmed();
        const QString level = QString::fromStdString(table.HighLevels[entry]).trimmed();
        hear(kFirstEntryRow + i,
             name.isEmpty()
                 //: A row of the high-score table as screen readers read it: its place (1 to
                 //: 10), the score and the level of an entry without a name.
                 ? tr("%1. %2, level %3").arg(i + 1).arg(score, level)
                 //: A row of the high-score table as screen readers read it: its place (1 to
                 //: 10), the player's name, the score and the level: "1. Ada, 10000, level 3".
                 : tr("%1. %2, %3, level %4").arg(i + 1).arg(name, score, level));
    }
}

void HighScoreWindow::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // Only the window's own focus counts: focus moving between its lists and its button
    // leaves it open.
    const QWidget* next = QApplication::focusWidget();
    if (next == nullptr || !isAncestorOf(next)) {
        close();
    }
}

void HighScoreWindow::keyPressEvent(QKeyEvent* event) {
    // The lists and the button leave these keys to the window, wherever the focus is.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                m_okay->click();
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace brightsum
