#pragma once

#include "GameState.h"
#include "HighScoreTable.h"

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
class Engine {
public:
    Engine(const EnginePorts& ports, const HighScoreFile& scoreFile);

    // Menu entries: each sets the operation and level and starts a game.
    void add1_Click() { startGame("+", 1); }
    void add2_Click() { startGame("+", 2); }
    void add3_Click() { startGame("+", 3); }
    void add4_Click() { startGame("+", 4); }
    void add5_Click() { startGame("+", 5); }
    void sub1_Click() { startGame("-", 1); }
    void sub2_Click() { startGame("-", 2); }
    void sub3_Click() { startGame("-", 3); }
    void sub4_Click() { startGame("-", 4); }
    void sub5_Click() { startGame("-", 5); }

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

    const GameState& state() const { return m_state; }
    const HighScoreTable& table() const { return m_table; }

private:
    void startGame(const char* operation, int level);

    EnginePorts m_ports;
    const HighScoreFile& m_scoreFile;
    GameState m_state;
    HighScoreTable m_table;
};

}  // namespace brightsum
