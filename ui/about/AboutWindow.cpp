// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutWindow.h"

#include "BrightsumVersion.h"
#include "FocusRingButton.h"
#include "HandCursor.h"
#include "LinkLabel.h"
#include "OpenFailureNotice.h"
#include "UrlOpener.h"
#include "WindowLayout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

namespace brightsum {

namespace {

using layout::px;

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

const QColor kPink(255, 192, 192);
const QColor kLinkBlue(0, 0, 255);
const QColor kEtchGrey(128, 128, 128);

}  // namespace

AboutWindow::AboutWindow(UrlOpener& opener) : QDialog(nullptr), m_opener(opener) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A window left open must not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowFlags(layout::kFixedDialog);
    setModal(false);
    setFixedSize(px(5730), px(3795));
    setFont(layout::face(8.25));

    // Its labels are drawn black on the pink; the OK button keeps the desktop's colours.
    layout::setBackground(this, kPink);

    buildControls();
    Form_Load();
}

QLabel* AboutWindow::addLabel(const char* name, int left, int top, int width, int height) {
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(px(left), px(top), px(width), px(height));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

void AboutWindow::buildControls() {
    m_lblTitle = addLabel("lblTitle", 0, 120, 5685, 240);
    QFont bold = layout::face(8.25);
    bold.setBold(true);
    m_lblTitle->setFont(bold);
    setTextColour(m_lblTitle, Qt::black);
    m_lblTitle->setText(QStringLiteral("Brightsum"));

    m_lblVersion = addLabel("lblVersion", 0, 360, 5685, 225);

    m_webSiteInvitation = addLabel("Label2", 0, 960, 5775, 255);
    m_webSiteInvitation->setText(
        //: One line above the web address: at most 385 pixels, about 65 letters.
        tr("For news and more information, visit our web site:"));

    m_webSiteLink = new LinkLabel(this);
    m_webSiteLink->setObjectName(QStringLiteral("Label3"));
    m_webSiteLink->setGeometry(px(0), px(1200), px(5775), px(375));
    m_webSiteLink->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont link = layout::face(13.5);
    link.setUnderline(true);
    m_webSiteLink->setFont(link);
    setTextColour(m_webSiteLink, kLinkBlue);
    m_webSiteLink->setText(QString::fromUtf8(version::kWebAddress));
    m_webSiteLink->setAccessibleDescription(tr("web site link"));
    connect(m_webSiteLink, &LinkLabel::clicked, this, &AboutWindow::Label3_Click);
    connect(m_webSiteLink, &LinkLabel::mouseMoved, this, &AboutWindow::Label3_MouseMove);

    m_copyrightNotice = addLabel("Label1", 0, 1680, 5775, 255);
    m_copyrightNotice->setText(
        //: One line: at most 385 pixels, about 65 letters. Keep "GPL-3.0-or-later" as it is.
        tr("Copyright (C) 2026 The Brightsum developers. License: GPL-3.0-or-later."));

    m_lblDisclaimer = addLabel("lblDisclaimer", 120, 2160, 5535, 1065);
    m_lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblDisclaimer->setWordWrap(true);
    setTextColour(m_lblDisclaimer, Qt::black);

    m_cmdOK = new FocusRingButton(tr("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(px(2280), px(3360), px(1260), px(345));
    m_cmdOK->setDefault(true);
    m_cmdOK->setAutoDefault(true);
    m_cmdOK->setFocus();
    connect(m_cmdOK, &QPushButton::clicked, this, &AboutWindow::cmdOK_Click);
}

void AboutWindow::Form_Load() {
    layout::centreOnScreen(this);
    setWindowTitle(tr("About Sumbright"));
    //: %1.%2.%3 is the version number, such as 1.0.0.
    m_lblVersion->setText(
        tr("Version %1.%2.%3").arg(version::kMajor).arg(version::kMinor).arg(version::kPatch));
    //: Wrapped over at most 5 lines of 369 pixels: no longer than the English text.
    m_lblDisclaimer->setText(
        tr("Warning: this program is protected by copyright law and international treaties. You "
           "may copy, change and pass it on only under the terms of the GNU General Public "
           "License, version 3 or later; copying or passing on this program, or any part of it, "
           "in any other way may lead to civil and criminal penalties."));
}

void AboutWindow::cmdOK_Click() {
    close();
}

void AboutWindow::Label3_Click() {
    const QUrl address(m_webSiteLink->text() + QLatin1Char('/'));
    m_opener.openUrl(address, [address] {
        OpenFailureNotice::show(
            tr("No web browser could be started to open %1").arg(address.toString()));
    });
}

void AboutWindow::Label3_MouseMove() {
    m_webSiteLink->setCursor(handCursor());
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    // OK is the cancel button as well as the default one: Escape presses it, like Enter.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AboutWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The etched rule: a two-pixel white line with a one-pixel grey line over its upper half,
    // which leaves grey above white.
    QPainter painter(this);
    const int y = px(2040);
    const int left = px(120);
    painter.fillRect(QRect(QPoint(left, y), QPoint(px(5669), y + 1)), Qt::white);
    painter.fillRect(QRect(QPoint(left, y), QPoint(px(5684), y)), kEtchGrey);
}

}  // namespace brightsum
