// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtDialogs.h"

#include "MessageTexts.h"

#include <QInputDialog>
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

std::optional<std::string> QtDialogs::askText(const Message& message) {
    QInputDialog prompt(m_owner);
    prompt.setObjectName(QStringLiteral("inputDialog"));
    prompt.setWindowTitle(messageTitle(message));
    prompt.setLabelText(messageText(message));
    prompt.setInputMode(QInputDialog::TextInput);
    prompt.setTextValue(QString());
    prompt.setWindowModality(Qt::WindowModal);
    if (prompt.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return prompt.textValue().toStdString();
}

}  // namespace brightsum
