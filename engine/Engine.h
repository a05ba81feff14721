// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GameState.h"
#include "HighScoreTable.h"
#include "Message.h"
#include "NewHighScore.h"

#include <cstdint>
#include <vector>

namespace brightsum {

class ClockPort;
class DialogPort;
class EventPump;
class HighScoreFile;
class HighScoreWindowPort;
class MainWindowPort;
class RandomSource;
class SoundPort;

// Everything the game reaches outside itself.
struct EnginePorts {
    MainWindowPort& window;
    ClockPort& clock;
    EventPump& pump;
    SoundPort& sound;
    DialogPort& dialogs;
    HighScoreWindowPort& highScoreWindow;
    RandomSource& random;
};

// The game: one object per run, holding the game state and the high-score table. The
// window forwards its events to the handlers below, which keep the names of the events.
//
// Handlers may run nested: the one-second pauses and the game-over dialogs dispatch events,
// so a click, a menu choice or a tick can arrive in the middle of another handler. Each
// question carries a serial number so that a handler resuming after a pause can tell
// whether the question it paused for is still the one on the board.
class Engine {
public:
    Engine(const EnginePorts& ports, const HighScoreFile& scoreFile);

    // Menu entries: each sets the operation and level and starts a game.
    void add1_Click() { startGame(Operation::Addition, 1); }
    void add2_Click() { startGame(Operation::Addition, 2); }
    void add3_Click() { startGame(Operation::Addition, 3); }
    void add4_Click() { startGame(Operation::Addition, 4); }
    void add5_Click() { startGame(Operation::Addition, 5); }
    void sub1_Click() { startGame(Operation::Subtraction, 1); }
    void sub2_Click() { startGame(Operation::Subtraction, 2); }
    void sub3_Click() { startGame(Operation::Subtraction, 3); }
    void sub4_Click() { startGame(Operation::Subtraction, 4); }
    void sub5_Click() { startGame(Operation::Subtraction, 5); }

    void cmdStart_Click();
    void NextQuestion();
    void Cmd_Number_Click(int Index);
    void tmrCounter_Timer();
    void tmrPoints_Timer();
    void tmrInit_Timer();
    void Form_Load();
    void mnuhiscore_Click();
    void ShowHighScores();
    void WaitOneSecond();

    // Says the open question again for a screen reader, with the pick waiting for its pair,
    // the seconds left and the score; or that no game runs.
    void repeatQuestion();

    const GameState& state() const { return m_state; }
    const HighScoreTable& table() const { return m_table; }

    // True while the high-score table holds an entry that could not be written to disk.
    bool hasUnsavedScores() const { return !m_unsavedEntries.empty(); }

private:
    void startGame(Operation operation, int level);
    void drawSubtraction();
    void drawAddition();
    void runGameOver();
    void loadHighScores();
    bool saveUnsavedScores();
    void rightAnswer();
    void wrongAnswer(const Message& said);
    // Waits one second, then opens the next question unless one has opened meanwhile.
    void pauseThenNextQuestion();
    void clearShownPair();
    void unpickBoard();
    void sayQuestion();
    // The whole seconds the open question has left, by the decay ticks since it began.
    int secondsLeft() const;
    int draw(double factor);

    EnginePorts m_ports;
    const HighScoreFile& m_scoreFile;
    GameState m_state;
    HighScoreTable m_table;

    // Counts question starts; a paused handler compares it before and after its pause.
    std::uint64_t m_questionSerial = 0;
    // The open question has been answered right: the board waits for the next question.
    bool m_questionAnswered = false;
    // A wrong pair is still on display, waiting for its pause to end.
    bool m_wrongPairShown = false;
    // The open question's clock runs: it is neither answered, nor run out, nor past the game.
    bool m_clockRunning = false;
    // Inside the game-over steps, whose dialogs let events through.
    bool m_gameOverRunning = false;
    // The high scores placed since the file last took a save, oldest first.
    std::vector<NewHighScore> m_unsavedEntries;
    bool m_toldScoresUnsaved = false;
};

}  // namespace brightsum
