// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

#include <array>

class QPushButton;
class QTimer;

namespace brightsum {

// The least a Qt Widgets window of the game's shape costs: a menu bar with four menus, five
// labels and a six by six grid of push buttons, one of which changes its caption and colour
// five times a second. Nothing else: no game, no sounds played, no dialogs.
class FloorWindow final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kButtons = 36;

    explicit FloorWindow(QWidget* parent = nullptr);

private:
    void changeOneButton();

    std::array<QPushButton*, kButtons> m_buttons{};
    QTimer* m_timer = nullptr;
};

}  // namespace brightsum
