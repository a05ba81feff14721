// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MainWindowPort.h"

#include <QMainWindow>

#include <array>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace brightsum {

class Announcer;
class BoardButton;
class Engine;

// The main window: the question line, the status line, the board of 36 number buttons, the
// hidden New Game button, the three timers and the menu bar. It shows what the game writes
// through MainWindowPort and hands every click, menu command and tick to the game.
class MainWindow final : public QMainWindow, public MainWindowPort {
    Q_OBJECT
public:
    // The client area below the menu bar, in pixels at 96 dots per inch.
    static constexpr int kClientWidth = 506;
    static constexpr int kClientHeight = 350;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Sends every event of the window to the game's handler of the same name.
    void attach(Engine& engine);

    void setCaption(Label label, const std::string& text) override;
    std::string caption(Label label) const override;
    void setButtonCaption(int index, const std::string& text) override;
    std::string buttonCaption(int index) const override;
    void setButtonColour(int index, int paletteIndex) override;
    void setButtonPicked(int index, bool picked) override;
    void setTimerEnabled(Timer timer, bool enabled) override;
    void centre() override;
    void announce(const Message& message) override;

    QLabel* label(Label label) const;
    BoardButton* numberButton(int index) const;
    QTimer* timer(Timer timer) const;
    QWidget* client() const { return m_client; }
    QAction* mnuHowtoPlay() const { return m_mnuHowtoPlay; }
    QAction* mnuAbout() const { return m_mnuAbout; }
    Announcer* announcer() const { return m_announcer; }

    // The 16 colours that board colours are indexes into.
    static QColor paletteColour(int paletteIndex);

private:
    void createQuestionLine();
    void createStatusLine();
    void createBoard();
    void createTimers();
    void createMenus();

    QWidget* m_client = nullptr;
    std::array<QLabel*, 9> m_labels{};
    std::array<BoardButton*, kBoardButtons> m_buttons{};
    QPushButton* m_cmdStart = nullptr;
    std::array<QTimer*, 3> m_timers{};
    Announcer* m_announcer = nullptr;

    QMenu* m_mnuAddition = nullptr;
    std::array<QAction*, 5> m_add{};
    QMenu* m_mnuSub = nullptr;
    std::array<QAction*, 5> m_sub{};
    QAction* m_mnuhiscore = nullptr;
    QMenu* m_mnuhelp = nullptr;
    QAction* m_mnuHowtoPlay = nullptr;
    QAction* m_mnuAbout = nullptr;
};

}  // namespace brightsum
