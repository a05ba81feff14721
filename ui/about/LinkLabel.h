// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace brightsum {

// A label that reports clicks and every mouse movement over it, for a web address shown as a
// link. It never takes the focus, like any other label.
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    // A left-button press and release, both over the label.
    void clicked();
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

}  // namespace brightsum
