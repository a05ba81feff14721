// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace brightsum {

class LinkLabel;
class UrlOpener;

// The About window: the program's name and version, a link to its web site, an ownership
// notice and a legal warning. Modeless, fixed in size, and destroyed when it closes, so every
// opening loads it afresh (and centres it again). It closes only through its OK button, Enter,
// Escape and its close box: turning to the main window or to the browser its link opened
// leaves it open.
class AboutWindow final : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(UrlOpener& opener);

    // Runs once, from the constructor: centres the window and sets the texts that are not
    // fixed in the layout.
    void Form_Load();
    void cmdOK_Click();
    void Label3_Click();
    void Label3_MouseMove();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    QLabel* addLabel(const char* name, int left, int top, int width, int height);

    UrlOpener& m_opener;
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblVersion = nullptr;
    QLabel* m_webSiteInvitation = nullptr;
    LinkLabel* m_webSiteLink = nullptr;
    QLabel* m_copyrightNotice = nullptr;
    QLabel* m_lblDisclaimer = nullptr;
    QPushButton* m_cmdOK = nullptr;
};

}  // namespace brightsum
