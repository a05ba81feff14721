// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadOnlyTextAccessible.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

namespace brightsum {

ReadOnlyTextAccessible::ReadOnlyTextAccessible(QTextEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText) {}

void* ReadOnlyTextAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State ReadOnlyTextAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QTextEdit* ReadOnlyTextAccessible::edit() const {
    return static_cast<QTextEdit*>(widget());
}

QTextCursor ReadOnlyTextAccessible::cursorAt(int offset) const {
    QTextCursor cursor(edit()->document());
    cursor.setPosition(std::clamp(offset, 0, characterCount()));
    return cursor;
}

void ReadOnlyTextAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    const QTextCursor cursor = edit()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection()) {
        *startOffset = *endOffset = 0;
        return;
    }
    *startOffset = cursor.selectionStart();
    *endOffset = cursor.selectionEnd();
}

int ReadOnlyTextAccessible::selectionCount() const {
    return edit()->textCursor().hasSelection() ? 1 : 0;
}

void ReadOnlyTextAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void ReadOnlyTextAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex != 0) {
        return;
    }
    QTextCursor cursor = edit()->textCursor();
    cursor.clearSelection();
    edit()->setTextCursor(cursor);
}

void ReadOnlyTextAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0) {
        return;
    }
    QTextCursor cursor = cursorAt(startOffset);
    cursor.setPosition(std::clamp(endOffset, 0, characterCount()), QTextCursor::KeepAnchor);
    edit()->setTextCursor(cursor);
}

int ReadOnlyTextAccessible::cursorPosition() const {
    return edit()->textCursor().position();
}

void ReadOnlyTextAccessible::setCursorPosition(int position) {
    edit()->setTextCursor(cursorAt(position));
}

QString ReadOnlyTextAccessible::text(int startOffset, int endOffset) const {
    QTextCursor cursor = cursorAt(startOffset);
    cursor.setPosition(std::clamp(endOffset, 0, characterCount()), QTextCursor::KeepAnchor);
    return cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

QString ReadOnlyTextAccessible::boundedText(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
    // Lines are the lines as laid out on screen, which is where the caret goes on Up and Down.
    const auto [start, end] =
        QAccessible::qAccessibleTextBoundaryHelper(cursorAt(offset), boundaryType);
    *startOffset = start;
    *endOffset = end;
    return text(start, end);
}

QString ReadOnlyTextAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const {
    return boundedText(offset, boundaryType, startOffset, endOffset);
}

QString ReadOnlyTextAccessible::textBeforeOffset(int offset,
                                                 QAccessible::TextBoundaryType boundaryType,
                                                 int* startOffset, int* endOffset) const {
    int start = 0;
    int end = 0;
    boundedText(offset, boundaryType, &start, &end);
    if (start == 0) {
        *startOffset = *endOffset = 0;
        return {};
    }
    return boundedText(start - 1, boundaryType, startOffset, endOffset);
}

QString ReadOnlyTextAccessible::textAfterOffset(int offset,
                                                QAccessible::TextBoundaryType boundaryType,
                                                int* startOffset, int* endOffset) const {
    int start = 0;
    int end = 0;
    boundedText(offset, boundaryType, &start, &end);
    if (end >= characterCount()) {
        *startOffset = *endOffset = characterCount();
        return {};
    }
    QString next = boundedText(end, boundaryType, startOffset, endOffset);
    if (*startOffset == start) {
        // The end of a paragraph or word still belongs to it; the next one starts a step on.
        next = boundedText(end + 1, boundaryType, startOffset, endOffset);
    }
    return next;
}

int ReadOnlyTextAccessible::characterCount() const {
    // The document counts the end of its last paragraph, which no caret can pass.
    return edit()->document()->characterCount() - 1;
}

QRect ReadOnlyTextAccessible::characterRect(int offset) const {
    const QRect before = edit()->cursorRect(cursorAt(offset));
    QRect after = edit()->cursorRect(cursorAt(offset + 1));
    QRect box = before;
    if (after.top() == before.top() && after.left() > before.left()) {
        box.setRight(after.left() - 1);
    }
    return QRect(edit()->viewport()->mapToGlobal(box.topLeft()), box.size());
}

int ReadOnlyTextAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint inside = edit()->viewport()->mapFromGlobal(point);
    if (!edit()->viewport()->rect().contains(inside)) {
        return -1;
    }
    return edit()->cursorForPosition(inside).position();
}

void ReadOnlyTextAccessible::scrollToSubstring(int startIndex, int endIndex) {
    Q_UNUSED(endIndex);
    const QRect place = edit()->cursorRect(cursorAt(startIndex));
    if (!edit()->viewport()->rect().contains(place)) {
        QScrollBar* bar = edit()->verticalScrollBar();
        bar->setValue(bar->value() + place.top());
    }
}

QString ReadOnlyTextAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // No formatting is told: a run without attributes covering the whole text.
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

}  // namespace brightsum
