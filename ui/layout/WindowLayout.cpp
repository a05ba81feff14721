// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowLayout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>

namespace brightsum::layout {

namespace {

// Moves the window so that its outer size is centred on its screen, never past the screen's
// top or left edge: a window larger than the screen keeps its title and menu bar on it.
// Returns the outer size it centred by.
QSize place(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const QSize outer = window->frameGeometry().size();
    if (screen == nullptr) {
        return outer;
    }
    const QRect area = screen->geometry();
    const int top = area.top() + std::max(0, (area.height() - outer.height()) / 2);
    const int left = area.left() + std::max(0, (area.width() - outer.width()) / 2);
    window->move(left, top);
    return outer;
}

// A window centred before it is shown is centred by its inner size, since a window manager
// adds its frame only when the window is mapped. This centres it again by its outer size once
// the frame has come, which is mostly the case by the window's first paint. A busy window
// manager may still be framing it then, and Qt learns of a frame without telling the window,
// so the watch looks again a few times in the second after the first paint, at the outer
// size only: a player moving the window is never undone.
//
// Qt's X11 platform asks for the frame again only after the window has been configured, and
// now and then it asked too early and keeps a frame of nothing: a window still without a
// frame at the first look is moved by a pixel, which has the window manager configure it, and
// is put back where it belongs at the next look.
class FrameWatcher final : public QObject {
public:
    FrameWatcher(QWidget* window, QSize centredBy)
        : QObject(window), m_window(window), m_centredBy(centredBy) {
        window->installEventFilter(this);
        m_lookAgain.setInterval(kLookAgainEvery);
        QObject::connect(&m_lookAgain, &QTimer::timeout, this, [this] {
            if (m_looks == 0 && m_window->frameGeometry() == m_window->geometry()) {
                m_window->move(m_window->pos() + QPoint(0, 1));
                m_centredBy = QSize();  // so that the next look places it again
            } else {
                centreIfFramed();
            }
            if (++m_looks == kLooks) {
                m_lookAgain.stop();
                m_window->removeEventFilter(this);
                deleteLater();
            }
        });
    }

    void centredAgain(QSize centredBy) { m_centredBy = centredBy; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_window) {
            return false;
        }
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Paint:
                centreIfFramed();
                if (event->type() == QEvent::Paint && !m_lookAgain.isActive()) {
                    m_lookAgain.start();
                }
                break;
            default:
                break;
        }
        return false;
    }

private:
    static constexpr std::chrono::milliseconds kLookAgainEvery{100};
    static constexpr int kLooks = 10;

    void centreIfFramed() {
        if (m_window->frameGeometry().size() != m_centredBy) {
            m_centredBy = place(m_window);
        }
    }

    QWidget* m_window;
    QSize m_centredBy;
    QTimer m_lookAgain;
    int m_looks = 0;
};

}  // namespace

namespace {

QStringList standInFaces() {
    QStringList faces;
    for (const char* name : kStandInFaces) {
        faces << QString::fromLatin1(name);
    }
    return faces;
}

}  // namespace

void installFace() {
    QFont::insertSubstitutions(QString::fromLatin1(kFace), standInFaces());
}

QFont face(qreal points, bool bold) {
    QFont font(QString::fromLatin1(kFace));
#ifdef _WIN32
    // Windows has a face of this name, bitmaps at a few sizes, which would win over the
    // substitutes: ask for the stand-ins by name.
    font.setFamilies(standInFaces());
#endif
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void centreOnScreen(QWidget* window) {
    const QSize centredBy = place(window);
    if (window->isVisible()) {
        return;
    }
    for (QObject* child : window->children()) {
        if (auto* watcher = dynamic_cast<FrameWatcher*>(child)) {
            watcher->centredAgain(centredBy);
            return;
        }
    }
    new FrameWatcher(window, centredBy);
}

void setBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setButtonTextBlack(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::ButtonText, Qt::black);
    widget->setPalette(palette);
}

void paintFocusRing(QPainter& painter, const QRect& area, const QColor& outer,
                    const QColor& inner) {
    const auto band = [&painter](const QRect& box, const QColor& colour) {
        // Top, bottom, left, right: kFocusBand pixels each, inside the box.
        painter.fillRect(QRect(box.left(), box.top(), box.width(), kFocusBand), colour);
        painter.fillRect(QRect(box.left(), box.bottom() - kFocusBand + 1, box.width(), kFocusBand),
                         colour);
        painter.fillRect(QRect(box.left(), box.top(), kFocusBand, box.height()), colour);
        painter.fillRect(QRect(box.right() - kFocusBand + 1, box.top(), kFocusBand, box.height()),
                         colour);
    };
    band(area, outer);
    if (inner.isValid()) {
        band(area.adjusted(kFocusBand, kFocusBand, -kFocusBand, -kFocusBand), inner);
    }
}

}  // namespace brightsum::layout
