#pragma once

#include <functional>

#include <QWidget>

class QListWidget;
class QPushButton;

namespace brightsum {

class HighScoreTable;

// The high-score window: names, scores and levels in three lists, copied from the table when
// the window is built and never refreshed. It destroys itself when it closes: by "Okay", by
// its close box, or when the window itself loses the input focus.
class Form2 final : public QWidget {
    Q_OBJECT
public:
    // The client area, in pixels at 96 dots per inch.
    static constexpr int kClientWidth = 273;
    static constexpr int kClientHeight = 230;

    // playShowCue starts the window's sound without waiting for it; it runs once, while the
    // window is built.
    Form2(const HighScoreTable& table, const std::function<void()>& playShowCue,
          QWidget* parent = nullptr);
    ~Form2() override;

    QListWidget* names() const { return m_list1; }
    QListWidget* scores() const { return m_list2; }
    QListWidget* levels() const { return m_list3; }
    QPushButton* okay() const { return m_command1; }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void centre();
    void fill(const HighScoreTable& table);

    QListWidget* m_list1 = nullptr;
    QListWidget* m_list2 = nullptr;
    QListWidget* m_list3 = nullptr;
    QPushButton* m_command1 = nullptr;
};

}  // namespace brightsum
