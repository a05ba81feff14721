// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtDialogs.h"

#include "MessageTexts.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace brightsum {

void QtDialogs::showMessage(const Message& message) {
    QMessageBox box(QMessageBox::NoIcon, messageTitle(message), messageText(message),
                    QMessageBox::Ok, m_owner);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

std::optional<std::string> QtDialogs::askText(const Message& message, const Message& heard) {
    QInputDialog prompt(m_owner);
    prompt.setObjectName(QStringLiteral("inputDialog"));
    prompt.setWindowTitle(messageTitle(message));
    prompt.setLabelText(messageText(message));
    prompt.setInputMode(QInputDialog::TextInput);
    prompt.setTextValue(QString());
    // A screen reader reads the text field as the prompt opens, with its label and then its
    // description: the one place where words are heard with the prompt and never seen.
    if (auto* field = prompt.findChild<QLineEdit*>()) {
        field->setAccessibleDescription(messageText(heard));
    }
    prompt.setWindowModality(Qt::WindowModal);
    if (prompt.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return prompt.textValue().toStdString();
}

}  // namespace brightsum
