// SPDX-License-Identifier: GPL-3.0-or-later
#include "Engine.h"

#include "ClockPort.h"
#include "DialogPort.h"
#include "EventPump.h"
#include "HighScoreFile.h"
#include "HighScoreWindowPort.h"
#include "MainWindowPort.h"
#include "Numbers.h"
#include "RandomSource.h"
#include "SoundPort.h"

#include <algorithm>
#include <cmath>

namespace brightsum {

namespace {

constexpr int kLastQuestion = 10;
constexpr int kStartValue = 1100;
constexpr int kMaxWorth = 1000;
constexpr int kDecayStep = 50;
constexpr int kQuestionSeconds = timerIntervalMs(Timer::tmrCounter) / 1000;
// The clock speaks once, this many seconds before a question runs out.
constexpr int kWarningSeconds = 5;

// A number of the board as a message carries it.
int spokenNumber(double value) {
    return std::isnan(value) ? 0 : static_cast<int>(std::lround(std::clamp(value, -1e9, 1e9)));
}

// The caption of an empty place on the question line.
constexpr const char* kUnknown = "?";

}  // namespace

Engine::Engine(const EnginePorts& ports, const HighScoreFile& scoreFile)
    : m_ports(ports), m_scoreFile(scoreFile), m_table(HighScoreTable::DefaultHighScores()) {}

void Engine::startGame(Operation operation, int level) {
    // The game-over dialogs are modal, so the menus cannot reach us while they wait; if a
    // window ever let one through, starting a game in the middle of game over would tangle
    // two games.
    if (m_gameOverRunning) {
        return;
    }
    m_state.Operation = operation;
    m_state.Level = level;
    cmdStart_Click();
}

void Engine::cmdStart_Click() {
    if (m_gameOverRunning) {
        return;
    }
    m_state.GameActive = true;
    m_state.TotalPoints = 0;
    m_state.PickCount = 0;
    m_state.QuestionNumber = 0;
    NextQuestion();
}

int Engine::draw(double factor) {
    return static_cast<int>(std::floor(m_ports.random.next() * factor));
}

void Engine::NextQuestion() {
    ++m_questionSerial;
    m_questionAnswered = false;
    m_wrongPairShown = false;
    m_clockRunning = false;

    MainWindowPort& window = m_ports.window;
    m_ports.random.reseed(m_ports.clock.secondsSinceMidnight());
    m_state.GameActive = true;

    // Off and on again, so both question timers count a full interval from now.
    window.setTimerEnabled(Timer::tmrPoints, false);
    window.setTimerEnabled(Timer::tmrCounter, false);
    window.setTimerEnabled(Timer::tmrInit, false);
    window.setTimerEnabled(Timer::tmrCounter, true);
    window.setTimerEnabled(Timer::tmrPoints, true);

    m_state.PickCount = 0;
    m_state.QuestionValue = kStartValue;

    window.setCaption(Label::lblScore, std::to_string(m_state.TotalPoints));
    window.setCaption(Label::lblLevel, std::to_string(m_state.Level));
    window.setCaption(Label::lblQuestionNumber, std::to_string(m_state.QuestionNumber));

    ++m_state.QuestionNumber;
    if (m_state.QuestionNumber > kLastQuestion) {
        runGameOver();
        // No early return: one more question is drawn onto the idle board, where no click
        // reaches it and the idle animation wears it away.
    }

    window.setCaption(Label::lblQuestionNumber, std::to_string(m_state.QuestionNumber));
    window.setCaption(Label::lblLevel, std::to_string(m_state.Level));

    unpickBoard();
    if (m_state.Operation == Operation::Subtraction) {
        drawSubtraction();
    }
    if (m_state.Operation == Operation::Addition) {
        drawAddition();
    }
    // The question drawn after the game's end is no question to anyone.
    if (m_state.GameActive && m_state.Operation != Operation::None) {
        m_clockRunning = true;
        sayQuestion();
    }
}

void Engine::sayQuestion() {
    const int target = spokenNumber(TextValue(m_ports.window.caption(Label::lblAnswer)));
    m_ports.window.announce({m_state.Operation == Operation::Addition
                                 ? MessageId::QuestionAddition
                                 : MessageId::QuestionSubtraction,
                             m_state.QuestionNumber, target});
}

int Engine::secondsLeft() const {
    const int ticks = (kStartValue - m_state.QuestionValue) / kDecayStep;
    return std::max(kQuestionSeconds - ticks, 0);
}

void Engine::repeatQuestion() {
    // The game-over dialogs are modal; nothing asks for the question while they wait.
    if (m_gameOverRunning) {
        return;
    }
    if (!m_state.GameActive || m_state.Operation == Operation::None) {
        m_ports.window.announce(MessageId::NoGame);
        return;
    }
    sayQuestion();
    if (m_state.PickCount == 1) {
        m_ports.window.announce({MessageId::Picked, spokenNumber(m_state.FirstPick)});
    }
    if (m_clockRunning) {
        const int left = secondsLeft();
        m_ports.window.announce(left >= 2 ? Message(MessageId::SecondsLeft, left)
                                          : Message(MessageId::TimeAlmostUp));
    }
    m_ports.window.announce({MessageId::Score, m_state.TotalPoints});
}

void Engine::drawSubtraction() {
    MainWindowPort& window = m_ports.window;
    const int level = m_state.Level;

    const int minuend = draw(10.0 * level) + 5 * level;
    const int subtrahend = draw(minuend - 1) + 1;

    window.setCaption(Label::lblPart1, kUnknown);
    window.setCaption(Label::lblPart2, kUnknown);
    for (int i = 0; i < kBoardButtons; ++i) {
        window.setButtonColour(i, kLightBlue);
        window.setButtonCaption(i, std::to_string(draw(10.0 * level) + 1));
    }

    // 35, not 36: the pair of a subtraction never lands on the last button.
    const int first = draw(35);
    int second = draw(35);
    while (second == first) {
        second = draw(35);
    }
    window.setButtonCaption(first, std::to_string(minuend));
    window.setButtonCaption(second, std::to_string(subtrahend));

    window.setCaption(Label::lblAnswer, std::to_string(minuend - subtrahend));
    window.setCaption(Label::lblOper, operationSign(Operation::Subtraction));
}

void Engine::drawAddition() {
    MainWindowPort& window = m_ports.window;
    const int level = m_state.Level;

    const int sum = draw(10.0 * level) + (level - 1) * 4 + 4;
    const int firstAddend = draw(sum - 2) + 1;
    const int secondAddend = sum - firstAddend;

    window.setCaption(Label::lblPart1, kUnknown);
    window.setCaption(Label::lblPart2, kUnknown);
    for (int i = 0; i < kBoardButtons; ++i) {
        window.setButtonColour(i, kLightBlue);
        window.setButtonCaption(i, std::to_string(draw(sum - 2) + 1));
    }

    const int first = draw(36);
    int second = draw(36);
    while (second == first) {
        second = draw(36);
    }
    window.setButtonCaption(first, std::to_string(firstAddend));
    window.setButtonCaption(second, std::to_string(secondAddend));

    window.setCaption(Label::lblAnswer, std::to_string(firstAddend + secondAddend));
    window.setCaption(Label::lblOper, operationSign(Operation::Addition));
}

void Engine::runGameOver() {
    m_gameOverRunning = true;
    m_clockRunning = false;
    // The dialogs below let events through; with the question timers running, a time-out
    // would enter the question cycle again and end the same game a second time.
    m_ports.window.setTimerEnabled(Timer::tmrCounter, false);
    m_ports.window.setTimerEnabled(Timer::tmrPoints, false);

    const int score = m_state.TotalPoints;

    m_table.SortHighScores();
    const std::optional<int> slot = m_table.FindHighScoreSlot(score);
    if (!slot) {
        m_ports.sound.PlaySoundCue(Cue::Finish, CueMode::Async);
        m_ports.window.announce({MessageId::FinalScore, score});
        m_ports.dialogs.showMessage({MessageId::GameOver, score});
    } else {
        m_ports.sound.PlaySoundCue(Cue::HighScore, CueMode::Async);
        const std::string name =
            m_ports.dialogs.askText(MessageId::HighScorePrompt, {MessageId::FinalScore, score})
                .value_or(std::string());
        m_table.InsertHighScore(*slot, name, score, m_state.Level);
        m_unsavedEntries.push_back(
            {name, static_cast<double>(score), static_cast<double>(m_state.Level)});
        // Placed again into the file's table as it stands now, which another copy of the game
        // may have changed; the table shown below is then the one saved.
        if (!saveUnsavedScores()) {
            // Told before the high-score window opens: a message shown after it would take
            // the focus and close that window at once.
            if (!m_toldScoresUnsaved) {
                m_toldScoresUnsaved = true;
                m_ports.dialogs.showMessage(MessageId::ScoresNotSaved);
            }
        }
        m_ports.highScoreWindow.showHighScores(m_table);
    }

    m_state.GameActive = false;
    Form_Load();
    m_gameOverRunning = false;
}

void Engine::Cmd_Number_Click(int Index) {
    if (!m_state.GameActive) {
        return;
    }
    // After a right answer the question is closed: a second right pair in the pause would
    // score it twice and skip the next question.
    if (m_gameOverRunning || m_questionAnswered) {
        return;
    }
    if (Index < 0 || Index >= kBoardButtons) {
        return;
    }
    MainWindowPort& window = m_ports.window;

    // Plays to its end and holds up the whole window meanwhile; no event runs in between.
    m_ports.sound.PlaySoundCue(Cue::Select, CueMode::Wait);

    // A new pair begun while the last wrong pair is still shown replaces it on the display.
    if (m_state.PickCount == 0 && m_wrongPairShown) {
        clearShownPair();
    }

    window.setButtonColour(Index, kLightGreen);
    window.setButtonPicked(Index, true);
    ++m_state.PickCount;

    if (m_state.PickCount == 1) {
        m_state.FirstPick = TextValue(window.buttonCaption(Index));
        window.setCaption(Label::lblPart1, PlainText(m_state.FirstPick));
        m_state.FirstPickIndex = Index;
        window.announce({MessageId::Picked, spokenNumber(m_state.FirstPick)});
        return;
    }

    if (Index == m_state.FirstPickIndex) {
        m_state.PickCount = 1;
        return;
    }
    m_state.SecondPick = TextValue(window.buttonCaption(Index));
    window.setCaption(Label::lblPart2, PlainText(m_state.SecondPick));
    m_state.PickCount = 0;

    // The operation is read once: a game started from the menus during the pause of a
    // right answer must not have the same pair judged again under the new operation.
    const double target = TextValue(window.caption(Label::lblAnswer));
    const Operation operation = m_state.Operation;
    const Message wrong(
        operation == Operation::Addition ? MessageId::WrongSum : MessageId::WrongDifference,
        spokenNumber(m_state.FirstPick), spokenNumber(m_state.SecondPick), spokenNumber(target));
    if (operation == Operation::Addition) {
        target == m_state.FirstPick + m_state.SecondPick ? rightAnswer() : wrongAnswer(wrong);
    } else if (operation == Operation::Subtraction) {
        target == m_state.FirstPick - m_state.SecondPick ? rightAnswer() : wrongAnswer(wrong);
    }
}

void Engine::rightAnswer() {
    m_questionAnswered = true;
    m_clockRunning = false;
    m_ports.window.setTimerEnabled(Timer::tmrCounter, false);

    if (m_state.QuestionValue > kMaxWorth) {
        m_state.QuestionValue = kMaxWorth;
    }
    // A pair judged in the pause after a time-out can meet a value of -50; a right answer
    // never costs points.
    const int won = std::max(m_state.QuestionValue, 0);
    m_state.TotalPoints += won;
    m_ports.window.setCaption(Label::lblScore, std::to_string(m_state.TotalPoints));

    m_ports.sound.PlaySoundCue(Cue::Good, CueMode::Async);
    m_ports.window.announce({MessageId::RightAnswer, won});

    pauseThenNextQuestion();
}

void Engine::pauseThenNextQuestion() {
    const std::uint64_t question = m_questionSerial;
    WaitOneSecond();
    // A question or game that started during the pause (a right pair found in a time-out's
    // pause, a game started from the menus) has already moved the game on.
    if (question == m_questionSerial) {
        NextQuestion();
    }
}

void Engine::wrongAnswer(const Message& said) {
    m_wrongPairShown = true;
    m_ports.sound.PlaySoundCue(Cue::Bad, CueMode::Async);
    m_ports.window.announce(said);

    const std::uint64_t question = m_questionSerial;
    WaitOneSecond();
    // Leave alone a question that a time-out replaced during the pause, and a new pick
    // that has already taken the pair's place.
    if (question == m_questionSerial && m_wrongPairShown) {
        clearShownPair();
    }
}

void Engine::clearShownPair() {
    m_wrongPairShown = false;
    m_ports.window.setCaption(Label::lblPart1, kUnknown);
    m_ports.window.setCaption(Label::lblPart2, kUnknown);
    for (int i = 0; i < kBoardButtons; ++i) {
        m_ports.window.setButtonColour(i, kLightBlue);
    }
    unpickBoard();
}

void Engine::unpickBoard() {
    for (int i = 0; i < kBoardButtons; ++i) {
        m_ports.window.setButtonPicked(i, false);
    }
}

void Engine::WaitOneSecond() {
    // Monotonic, so a pause begun just before midnight still ends one second later.
    const double deadline = m_ports.clock.monotonicSeconds() + 1.0;
    while (m_ports.clock.monotonicSeconds() < deadline) {
        m_ports.pump.processEventsUntil(deadline);
    }
}

void Engine::tmrCounter_Timer() {
    if (!m_state.GameActive || m_gameOverRunning) {
        return;
    }
    m_ports.window.setTimerEnabled(Timer::tmrPoints, false);
    m_ports.window.setTimerEnabled(Timer::tmrCounter, false);
    m_clockRunning = false;
    m_ports.sound.PlaySoundCue(Cue::TimeUp, CueMode::Async);
    m_ports.window.announce(MessageId::TimeUp);

    // The board still takes picks during this pause.
    pauseThenNextQuestion();
}

void Engine::tmrPoints_Timer() {
    m_state.QuestionValue -= kDecayStep;
    m_ports.window.setCaption(Label::lblPoints, m_state.QuestionValue > kMaxWorth
                                                    ? std::to_string(kMaxWorth)
                                                    : std::to_string(m_state.QuestionValue));
    // Once, a few seconds before the end: a clock that spoke every second would drown out the
    // question and the picks.
    if (m_clockRunning && secondsLeft() == kWarningSeconds) {
        m_ports.window.announce({MessageId::SecondsLeft, kWarningSeconds});
    }
}

void Engine::tmrInit_Timer() {
    // Rounded to nearest, not cut down, so that every button including the last is chosen.
    const float scaled = static_cast<float>(m_ports.random.next() * 35.0);
    const int index = static_cast<int>(std::nearbyint(scaled));
    m_ports.window.setButtonCaption(index, std::to_string(draw(25) + 1));
    m_ports.window.setButtonColour(index, draw(2) + kLightBlue);
}

void Engine::Form_Load() {
    MainWindowPort& window = m_ports.window;
    window.centre();

    window.setCaption(Label::lblPart1, kUnknown);
    window.setCaption(Label::lblPart2, kUnknown);
    window.setCaption(Label::lblAnswer, kUnknown);
    window.setCaption(Label::lblOper, operationSign(Operation::Addition));

    m_state.GameActive = false;
    m_clockRunning = false;
    unpickBoard();

    m_ports.random.reseed(m_ports.clock.secondsSinceMidnight());
    for (int i = 0; i < kBoardButtons; ++i) {
        window.setButtonCaption(i, std::to_string(draw(25) + 1));
        window.setButtonColour(i, draw(2) + kLightBlue);
    }

    window.setTimerEnabled(Timer::tmrInit, true);
    window.setTimerEnabled(Timer::tmrCounter, false);
    window.setTimerEnabled(Timer::tmrPoints, false);

    loadHighScores();
}

bool Engine::saveUnsavedScores() {
    if (m_scoreFile.SaveNewHighScores(m_table, m_unsavedEntries)) {
        m_unsavedEntries.clear();
    }
    return m_unsavedEntries.empty();
}

void Engine::loadHighScores() {
    // Reading the file back would replace an entry that never reached it with the older
    // file or the default table; until it can be written, the table in memory is the one
    // to keep.
    if (hasUnsavedScores() && !saveUnsavedScores()) {
        return;
    }
    m_scoreFile.LoadHighScores(m_table);
}

void Engine::mnuhiscore_Click() {
    if (!hasUnsavedScores() || saveUnsavedScores()) {
        m_scoreFile.ReadHighScoreFile(m_table);
    }
    ShowHighScores();
}

void Engine::ShowHighScores() {
    m_table.SortHighScores();
    m_ports.highScoreWindow.showHighScores(m_table);
}

}  // namespace brightsum
