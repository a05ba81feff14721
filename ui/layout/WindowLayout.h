// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>
#include <Qt>

class QColor;
class QPainter;
class QWidget;

// What the three windows share of their classic look: a layout kept in twips, centring by the
// outer size, the frame each kind of window has, and the face every caption is drawn in.
namespace brightsum::layout {

// 15 twips make a pixel at 96 dots per inch; Qt scales pixels on high-DPI screens.
constexpr int px(int twips) {
    return twips / 15;
}

constexpr QRect twipRect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

// The face the windows were designed in. It is not installed on Linux, and on Windows it is a
// bitmap face at a few sizes only; a scalable face with the same metrics stands in for it, so
// every caption fits the box it was designed for: Arial on Windows, Liberation Sans on Linux
// (and under Wine, which has no Arial of its own).
inline constexpr const char* kFace = "MS Sans Serif";
#ifdef _WIN32
inline constexpr const char* kStandInFaces[] = {"Arial", "Liberation Sans"};
#else
inline constexpr const char* kStandInFaces[] = {"Liberation Sans"};
#endif

// Maps kFace to the faces that stand in for it. Call once, when the application starts.
void installFace();

QFont face(qreal points, bool bold = false);

// A sizable window with minimize but no maximize box.
constexpr Qt::WindowFlags kSizableWindow = Qt::Window | Qt::CustomizeWindowHint |
                                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// A fixed dialog with a close box only.
constexpr Qt::WindowFlags kFixedDialog =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Centres the window on its screen by its outer size, frame included: the top edge first,
// then the left; a window larger than the screen goes to the screen's top-left corner. A
// window not yet shown is centred again once the window manager has framed it.
void centreOnScreen(QWidget* window);

// Fills the widget's background with a colour of its own, and draws its texts and those of
// its children in black: the pastel and board colours were chosen for black text, and a dark
// desktop scheme's light text would vanish on them. Controls that keep the desktop's own
// background (push buttons, lists) keep its text colours too.
void setBackground(QWidget* widget, const QColor& colour);

// Draws the texts a widget paints on a background of its own (a board button's face) black.
void setButtonTextBlack(QWidget* widget);

// A keyboard focus indicator that shows on any background: a band of `outer` colour
// kFocusBand pixels wide along the inside of `area` and, unless `inner` is invalid, a band of
// `inner` colour just as wide within it.
inline constexpr int kFocusBand = 2;
void paintFocusRing(QPainter& painter, const QRect& area, const QColor& outer, const QColor& inner);

}  // namespace brightsum::layout
