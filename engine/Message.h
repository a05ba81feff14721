// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace brightsum {

// What the game tells the player, in a dialog or through the screen reader. The engine names
// the message and gives its numbers; the windows word it in the player's language, from their
// table of texts (ui/translation/MessageTexts.cpp), which has one row for each message here.
enum class MessageId {
    GameOver,             // dialog: the final score, with no high score made
    HighScorePrompt,      // dialog: asks for the name of a new high score
    ScoresNotSaved,       // dialog: the high-score file cannot be written
    QuestionAddition,     // spoken: the question's number and target, to make with plus
    QuestionSubtraction,  // spoken: the same with minus
    Picked,               // spoken: the number of a first pick
    RightAnswer,          // spoken: the points the answer won
    WrongSum,             // spoken: the two picks and the target their sum missed
    WrongDifference,      // spoken: the same for a difference
    SecondsLeft,          // spoken: the seconds the question has left
    TimeAlmostUp,         // spoken: instead of the seconds, when less than two are left
    TimeUp,               // spoken
    Score,                // spoken: the points of the game so far
    NoGame,               // spoken: asked for the question while no game runs
    FinalScore,           // spoken: the final score
};

// A message with its numbers, in the order its text uses them (%1, %2, %3). A message without
// numbers converts from its id.
struct Message {
    constexpr Message(MessageId which, int first = 0, int second = 0, int third = 0)
        : id(which), args{first, second, third} {}

    MessageId id;
    std::array<int, 3> args;

    friend bool operator==(const Message&, const Message&) = default;
};

struct MessageInfo {
    MessageId id;
    std::string_view name;  // for logs and test traces
    int arguments;          // how many of Message::args the message uses
};

// How many numbers a message can carry.
inline constexpr int kMaxArguments = 3;

// Every message, in the order of the enumeration.
inline constexpr auto kMessages = std::to_array<MessageInfo>({
    {MessageId::GameOver, "GameOver", 1},
    {MessageId::HighScorePrompt, "HighScorePrompt", 0},
    {MessageId::ScoresNotSaved, "ScoresNotSaved", 0},
    {MessageId::QuestionAddition, "QuestionAddition", 2},
    {MessageId::QuestionSubtraction, "QuestionSubtraction", 2},
    {MessageId::Picked, "Picked", 1},
    {MessageId::RightAnswer, "RightAnswer", 1},
    {MessageId::WrongSum, "WrongSum", 3},
    {MessageId::WrongDifference, "WrongDifference", 3},
    {MessageId::SecondsLeft, "SecondsLeft", 1},
    {MessageId::TimeAlmostUp, "TimeAlmostUp", 0},
    {MessageId::TimeUp, "TimeUp", 0},
    {MessageId::Score, "Score", 1},
    {MessageId::NoGame, "NoGame", 0},
    {MessageId::FinalScore, "FinalScore", 1},
});

constexpr const MessageInfo& messageInfo(MessageId id) {
    return kMessages[static_cast<std::size_t>(id)];
}

static_assert(
    [] {
        for (std::size_t i = 0; i < kMessages.size(); ++i) {
            if (static_cast<std::size_t>(kMessages[i].id) != i || kMessages[i].arguments < 0 ||
                kMessages[i].arguments > kMaxArguments) {
                return false;
            }
        }
        return true;
    }(),
    "kMessages lists every message once, in the order of the enumeration, with at most "
    "three numbers");

}  // namespace brightsum
