// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPushButton>

namespace brightsum {

// A board button drawn in the classic graphical style: a raised bevel around a face painted
// in exactly its colour, so that light blue is RGB 0,0,255 and not a style's gradient. Its
// caption is black on every face, and its keyboard focus a black and white ring that shows on
// blue, green and white alike. Return and Enter press it like Space.
//
// Screen readers see a push button named by its caption that is checked while it is picked;
// Qt would make a checkable QPushButton a check box, so the picked state is the button's own.
class BoardButton final : public QPushButton {
    Q_OBJECT
public:
    explicit BoardButton(QWidget* parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor& colour);

    bool isPicked() const { return m_picked; }
    void setPicked(bool picked);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour = Qt::white;
    bool m_picked = false;
};

}  // namespace brightsum
