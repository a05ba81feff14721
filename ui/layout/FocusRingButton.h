// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace brightsum {

// A push button in the desktop's style whose keyboard focus can be seen: over the style's thin
// focus mark it draws a ring two pixels wide in the button's text colour, which the desktop's
// scheme already makes stand out from the button's face.
class FocusRingButton final : public QPushButton {
    Q_OBJECT
public:
    explicit FocusRingButton(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace brightsum
