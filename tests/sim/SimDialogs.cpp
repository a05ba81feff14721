#include "SimDialogs.h"

#include <algorithm>

#include "SimDesktop.h"

namespace brightsum::sim {

DialogAnswer SimDialogs::answerFor(const DialogRecord& record) {
    if (!m_queue.empty()) {
        DialogAnswer answer = std::move(m_queue.front());
        m_queue.pop_front();
        return answer;
    }
    if (m_responder) {
        return m_responder(record);
    }
    return record.prompt ? DialogAnswer::cancel() : DialogAnswer::ok();
}

std::size_t SimDialogs::open(bool prompt, const std::string& title, const std::string& text) {
    DialogRecord record;
    record.prompt = prompt;
    record.title = title;
    record.text = text;
    record.openedAt = m_desktop.now();
    m_records.push_back(std::move(record));
    m_desktop.note((prompt ? "prompt " : "message ") + title);
    return m_records.size() - 1;
}

void SimDialogs::showMessage(const std::string& title, const std::string& text) {
    const std::size_t index = open(false, title, text);
    const DialogAnswer answer = answerFor(m_records[index]);
    m_desktop.runModal(answer.openFor);
    m_records[index].closedAt = m_desktop.now();
    m_desktop.note("closed " + title);
}

std::optional<std::string> SimDialogs::askText(const std::string& title, const std::string& text) {
    const std::size_t index = open(true, title, text);
    const DialogAnswer answer = answerFor(m_records[index]);
    m_desktop.runModal(answer.openFor);
    std::optional<std::string> result;
    if (answer.kind == DialogAnswer::Kind::Text) {
        result = answer.text;
    } else if (answer.kind == DialogAnswer::Kind::Ok) {
        result = std::string();
    }
    m_records[index].closedAt = m_desktop.now();
    m_records[index].result = result;
    m_desktop.note("closed " + title);
    return result;
}

int SimDialogs::count(const std::string& title) const {
    return static_cast<int>(
        std::count_if(m_records.begin(), m_records.end(),
                      [&](const DialogRecord& record) { return record.title == title; }));
}

}  // namespace brightsum::sim
