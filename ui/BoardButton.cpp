// SPDX-License-Identifier: GPL-3.0-or-later
#include "BoardButton.h"

#include "WindowLayout.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace brightsum {

namespace {

// What Qt's own accessible push button offers (its name, Press and SetFocus), with the picked
// state as checked.
class BoardButtonAccessible final : public QAccessibleWidget {
public:
    explicit BoardButtonAccessible(BoardButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text text) const override {
        if (text == QAccessible::Name && button()->accessibleName().isEmpty()) {
            return button()->text();
        }
        return QAccessibleWidget::text(text);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isPicked();
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (button()->isEnabled()) {
            names.append(pressAction());
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
        } else if (button()->isEnabled()) {
            // As Qt's push button does: shown pressed for a moment, then clicked.
            button()->animateClick();
        }
    }

private:
    BoardButton* button() const { return static_cast<BoardButton*>(widget()); }
};

QAccessibleInterface* boardButtonAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("brightsum::BoardButton")) {
        return new BoardButtonAccessible(static_cast<BoardButton*>(object));
    }
    return nullptr;
}

}  // namespace

BoardButton::BoardButton(QWidget* parent) : QPushButton(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(boardButtonAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    layout::setButtonTextBlack(this);
}

void BoardButton::setPicked(bool picked) {
    if (picked == m_picked) {
        return;
    }
    m_picked = picked;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void BoardButton::setColour(const QColor& colour) {
    if (colour == m_colour) {
        return;
    }
    m_colour = colour;
    update();
}

bool BoardButton::event(QEvent* event) {
    const bool handled = QPushButton::event(event);
    // The face covers every pixel, so nothing behind the button needs repainting with it: the
    // idle animation then redraws one button and no more. The style's polish clears the
    // attribute, so it is set once the button is polished.
    if (event->type() == QEvent::Polish) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    return handled;
}

void BoardButton::keyPressEvent(QKeyEvent* event) {
    // A push button outside a dialog leaves Return and Enter to its window; on the board they
    // pick the button as Space does. click() emits pressed, released and clicked before it
    // returns, as Space's release does, so the pick is judged at once.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
        if (!event->isAutoRepeat()) {
            click();
        }
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void BoardButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QBrush face(m_colour);
    const bool sunken = isDown();
    qDrawWinButton(&painter, rect(), palette(), sunken, &face);

    QRect textRect = rect().adjusted(2, 2, -2, -2);
    if (sunken) {
        textRect.translate(1, 1);
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(textRect, Qt::AlignCenter, text());

    if (hasFocus()) {
        // Black shows on green and white, white on blue; each band is two pixels wide.
        layout::paintFocusRing(painter, rect().adjusted(2, 2, -2, -2), Qt::black, Qt::white);
    }
}

}  // namespace brightsum
