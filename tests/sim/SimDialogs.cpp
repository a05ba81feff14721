// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimDialogs.h"

#include "SimDesktop.h"
#include "SimWindow.h"

#include <algorithm>

namespace brightsum::sim {

DialogAnswer SimDialogs::run(bool prompt, const Message& message) {
    const std::string name(messageInfo(message.id).name);
    m_records.push_back({prompt, message, m_desktop.now()});
    m_desktop.note((prompt ? "prompt " : "message ") + name);
    const std::size_t index = m_records.size() - 1;
    DialogAnswer answer;
    if (!m_queue.empty()) {
        answer = std::move(m_queue.front());
        m_queue.pop_front();
    } else if (m_responder) {
        answer = m_responder(m_records[index]);
    } else {
        answer = prompt ? DialogAnswer::cancel() : DialogAnswer::ok();
    }
    m_desktop.runModal(answer.openFor);
    m_records[index].closedAt = m_desktop.now();
    m_desktop.note("closed " + name);
    return answer;
}

std::optional<std::string> SimDialogs::askText(const Message& message, const Message& heard) {
    m_desktop.note("heard with the prompt: " + SimWindow::said(heard));
    const DialogAnswer answer = run(true, message);
    if (answer.kind == DialogAnswer::Kind::Cancel) {
        return std::nullopt;
    }
    return answer.text;  // empty after OK on an untouched prompt
}

int SimDialogs::count(MessageId id) const {
    return static_cast<int>(
        std::count_if(m_records.begin(), m_records.end(),
                      [&](const DialogRecord& record) { return record.message.id == id; }));
}

}  // namespace brightsum::sim
