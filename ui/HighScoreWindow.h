// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>

class QListWidget;
class QPushButton;

namespace brightsum {

class HighScoreTable;

// The high-score window: names, scores and levels in three lists, copied from the table when
// the window is built and never refreshed. It destroys itself when it closes: by "Okay" (also
// pressed by Return and Enter), by Escape, by its close box, or when the window itself loses
// the input focus. Its lists keep one face and size whatever the desktop's font, so their
// twelve rows always fit. A screen reader hears a row whole ("1. Ada, 10000, level 3") as the
// arrow keys reach it in any of the lists.
class HighScoreWindow final : public QWidget {
    Q_OBJECT
public:
    // The client area, in pixels at 96 dots per inch.
    static constexpr int kClientWidth = 273;
    static constexpr int kClientHeight = 230;

    // playShowCue starts the window's sound without waiting for it; it runs once, while the
    // window is built.
    HighScoreWindow(const HighScoreTable& table, const std::function<void()>& playShowCue,
                    QWidget* parent = nullptr);
    ~HighScoreWindow() override;

    QListWidget* names() const { return m_names; }
    QListWidget* scores() const { return m_scores; }
    QListWidget* levels() const { return m_levels; }
    QPushButton* okay() const { return m_okay; }

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void centre();
    void fill(const HighScoreTable& table);
    void letRowsBeHeardWhole(const HighScoreTable& table);

    // The lists' header row and an empty row come before entry 1.
    static constexpr int kFirstEntryRow = 2;

    QListWidget* m_names = nullptr;
    QListWidget* m_scores = nullptr;
    QListWidget* m_levels = nullptr;
    QPushButton* m_okay = nullptr;
};

}  // namespace brightsum
