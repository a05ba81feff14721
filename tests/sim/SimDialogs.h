// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogPort.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brightsum::sim {

class SimDesktop;

// How the player answers one dialog, and how long it stays open first. Events run while it
// is open, as under a real modal dialog.
struct DialogAnswer {
    enum class Kind { Ok, Text, Cancel };
    Kind kind = Kind::Ok;
    std::string text;
    double openFor = 0;

    static DialogAnswer ok(double openFor = 0) { return {Kind::Ok, {}, openFor}; }
    static DialogAnswer typed(std::string text, double openFor = 0) {
        return {Kind::Text, std::move(text), openFor};
    }
    static DialogAnswer cancel(double openFor = 0) { return {Kind::Cancel, {}, openFor}; }
};

struct DialogRecord {
    bool prompt = false;
    Message message;
    double openedAt = 0;
    double closedAt = -1;  // -1 while open
};

// Answers dialogs from a queue, then from a responder; a dialog nobody scripted is closed at
// once (a prompt as if cancelled).
class SimDialogs final : public DialogPort {
public:
    explicit SimDialogs(SimDesktop& desktop) : m_desktop(desktop) {}

    void showMessage(const Message& message) override { run(false, message); }
    std::optional<std::string> askText(const Message& message, const Message& heard) override;

    void queue(DialogAnswer answer) { m_queue.push_back(std::move(answer)); }
    void setResponder(std::function<DialogAnswer(const DialogRecord&)> responder) {
        m_responder = std::move(responder);
    }

    const std::vector<DialogRecord>& records() const { return m_records; }
    int count(MessageId id) const;

private:
    DialogAnswer run(bool prompt, const Message& message);

    SimDesktop& m_desktop;
    std::deque<DialogAnswer> m_queue;
    std::function<DialogAnswer(const DialogRecord&)> m_responder;
    std::vector<DialogRecord> m_records;
};

}  // namespace brightsum::sim
