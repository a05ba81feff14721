// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtDialogs.h"

#include "Translation.h"

#include <QInputDialog>
#include <QMessageBox>

namespace brightsum {

void QtDialogs::showMessage(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, Translation::engineText(title),
                    Translation::engineText(text), QMessageBox::Ok, m_owner);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

std::optional<std::string> QtDialogs::askText(const std::string& title, const std::string& text) {
    QInputDialog prompt(m_owner);
    prompt.setObjectName(QStringLiteral("inputDialog"));
    prompt.setWindowTitle(Translation::engineText(title));
    prompt.setLabelText(Translation::engineText(text));
    prompt.setInputMode(QInputDialog::TextInput);
    prompt.setTextValue(QString());
    prompt.setWindowModality(Qt::WindowModal);
    if (prompt.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return prompt.textValue().toStdString();
}

}  // namespace brightsum
