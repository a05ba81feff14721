// SPDX-License-Identifier: GPL-3.0-or-later
#include "OpenFailureNotice.h"

#include <QMessageBox>
#include <QString>

namespace brightsum {

QMessageBox* OpenFailureNotice::show(const QString& message) {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Brightsum"), message,
                                QMessageBox::Ok);
    box->setObjectName(QStringLiteral("openFailureNotice"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_QuitOnClose, false);
    box->setModal(false);
    box->show();
    return box;
}

}  // namespace brightsum
