// SPDX-License-Identifier: GPL-3.0-or-later
#include "FloorWindow.h"

#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>

namespace brightsum {

namespace {

constexpr int kColumns = 6;
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);

void paintFlat(QPushButton* button, const QColor& colour) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, colour);
    button->setPalette(palette);
}

}  // namespace

FloorWindow::FloorWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Floor"));

    auto* client = new QWidget(this);
    client->setMinimumSize(506, 350);
    QPalette background = client->palette();
    background.setColor(QPalette::Window, QColor(255, 255, 192));
    client->setPalette(background);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    QFont large = font();
    large.setPointSize(24);
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(i == 3 ? QStringLiteral("=") : QStringLiteral("?"), client);
        label->setFont(large);
        label->setGeometry(112 + 64 * i, 8, 57, 33);
    }

    QFont bold = font();
    bold.setPointSizeF(13.5);
    bold.setBold(true);
    for (int i = 0; i < kButtons; ++i) {
        auto* button = new QPushButton(QString::number(i % 25 + 1), client);
        button->setFont(bold);
        button->setGeometry(16 + 80 * (i % kColumns), 72 + 40 * (i / kColumns), 73, 33);
        // A flat button filled from its palette shows exactly the colour it is given.
        button->setFlat(true);
        button->setAutoFillBackground(true);
        paintFlat(button, i % 2 == 0 ? kBlue : kGreen);
        m_buttons[static_cast<std::size_t>(i)] = button;
    }

    QMenuBar* bar = menuBar();
    for (const char* title : {"&Addition", "&Subtraction", "&High Scores", "&Help"}) {
        QMenu* menu = bar->addMenu(QString::fromLatin1(title));
        for (int entry = 1; entry <= 5; ++entry) {
            menu->addAction(QStringLiteral("Entry &%1").arg(entry));
        }
    }

    m_timer = new QTimer(this);
    m_timer->setInterval(200);
    connect(m_timer, &QTimer::timeout, this, &FloorWindow::changeOneButton);
    m_timer->start();

    resize(506, 350 + bar->sizeHint().height());
}

void FloorWindow::changeOneButton() {
    QRandomGenerator* random = QRandomGenerator::global();
    QPushButton* button = m_buttons[random->bounded(kButtons)];
    button->setText(QString::number(random->bounded(1, 26)));
    paintFlat(button, random->bounded(2) == 0 ? kBlue : kGreen);
}

}  // namespace brightsum
