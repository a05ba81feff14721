#include "Form2.h"

#include "HighScoreTable.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFocusEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace brightsum {

namespace {

// Places are kept in twips; 15 twips make a pixel at 96 dots per inch.
QRect twipRect(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

QListWidget* makeList(QWidget* parent, const char* name, const QRect& place) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(place);
    list->setSortingEnabled(false);
    return list;
}

// A plain top-level QWidget reaches screen readers as a filler pane; the high-score window is
// a window of its own and says so.
QAccessibleInterface* accessibleForm2(const QString& className, QObject* object) {
    if (className == QLatin1String("brightsum::Form2") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

void addRow(QListWidget* list, const std::string& text) {
    list->addItem(QString::fromStdString(text));
}

}  // namespace

Form2::Form2(const HighScoreTable& table, const std::function<void()>& playShowCue, QWidget* parent)
    : QWidget(parent) {
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(accessibleForm2);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("High Scores"));
    // Sizable, with minimize but no maximize box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window alone decides when the program ends.
    setAttribute(Qt::WA_QuitOnClose, false);

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(192, 255, 192));
    setPalette(palette);
    setAutoFillBackground(true);

    m_list1 = makeList(this, "List1", twipRect(120, 120, 1695, 2790));
    m_list2 = makeList(this, "List2", twipRect(1920, 120, 1095, 2790));
    m_list3 = makeList(this, "List3", twipRect(3120, 120, 855, 2790));
    m_command1 = new QPushButton(QStringLiteral("Okay"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setGeometry(twipRect(1440, 3000, 1215, 375));
    connect(m_command1, &QPushButton::clicked, this, &QWidget::close);

    resize(kClientWidth, kClientHeight);
    centre();
    if (playShowCue) {
        playShowCue();
    }
    fill(table);
    m_list1->setFocus();
}

Form2::~Form2() = default;

void Form2::centre() {
    // The outer size includes the frame, which the platform knows once the window exists.
    create();
    const QRect screenArea = screen()->geometry();
    const QSize outer = frameGeometry().size();
    move(screenArea.left() + (screenArea.width() - outer.width()) / 2,
         screenArea.top() + (screenArea.height() - outer.height()) / 2);
}

void Form2::fill(const HighScoreTable& table) {
    m_list1->clear();
    m_list2->clear();
    m_list3->clear();
    addRow(m_list1, "Name");
    addRow(m_list2, "Score");
    addRow(m_list3, "Level");
    addRow(m_list1, "");
    addRow(m_list2, "");
    addRow(m_list3, "");
    for (int i = 0; i < HighScoreTable::kEntries; ++i) {
        const auto entry = static_cast<std::size_t>(i);
        addRow(m_list1, table.HighNames[entry]);
        addRow(m_list2, table.HighScores[entry]);
        addRow(m_list3, table.HighLevels[entry]);
    }
}

void Form2::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // Only the window's own focus counts: focus moving between its lists and its button
    // leaves it open.
    const QWidget* next = QApplication::focusWidget();
    if (next == nullptr || !isAncestorOf(next)) {
        close();
    }
}

}  // namespace brightsum
