// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutLauncher.h"
#include "AboutWindow.h"
#include "WidgetTestSupport.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

using brightsum::AboutLauncher;
using brightsum::AboutWindow;
using brightsum::RecordingUrlOpener;
using brightsum::visibleWindows;

namespace {

template <typename T>
T* control(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found) {
        qFatal("control %s is missing", name);
    }
    return found;
}

bool isCentred(const QWidget* window) {
    const QRect area = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = window->frameGeometry().size();
    return window->frameGeometry().topLeft() ==
           QPoint(area.left() + (area.width() - outer.width()) / 2,
                  area.top() + (area.height() - outer.height()) / 2);
}

}  // namespace

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void showsItsTextsWhenLoaded();
    void layoutSampleColoursAndRule();
    void labelsFitTheirBoxes();
    void closesByOkAndByKeys_data();
    void closesByOkAndByKeys();
    void oneWindowCentredAtEveryOpening();
    void staysOpenWhenAnotherWindowIsActivated();
    void linkOpensOnAClickThatStaysOnIt();
    void handCursorFromTheFirstMoveOverTheLink();

private:
    RecordingUrlOpener m_opener;
};

void AboutWindowTest::cleanup() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<AboutWindow*>(widget)) {
            delete widget;
        }
    }
    m_opener.opened.clear();
}

void AboutWindowTest::showsItsTextsWhenLoaded() {
    AboutWindow about(m_opener);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Sumbright"));
    QCOMPARE(control<QLabel>(&about, "lblTitle")->text(), QStringLiteral("Brightsum"));
    QCOMPARE(control<QLabel>(&about, "lblVersion")->text(),
             QStringLiteral("Version " BRIGHTSUM_EXPECTED_VERSION));
    QCOMPARE(control<QLabel>(&about, "Label3")->text(),
             QStringLiteral(BRIGHTSUM_EXPECTED_WEB_ADDRESS));
    QVERIFY(!control<QLabel>(&about, "Label2")->text().isEmpty());
    const QString notice = control<QLabel>(&about, "Label1")->text();
    QVERIFY(notice.startsWith(QStringLiteral("Copyright")));
    // Free software: the notice names the licence, and fits its one line.
    QVERIFY(notice.contains(QStringLiteral("GPL-3.0-or-later")));
    const auto* noticeLabel = control<QLabel>(&about, "Label1");
    QVERIFY(noticeLabel->fontMetrics().horizontalAdvance(notice) <= noticeLabel->width());
    const QString warning = control<QLabel>(&about, "lblDisclaimer")->text();
    QVERIFY2(warning.size() >= 250 && warning.size() <= 310, qPrintable(warning));
    QVERIFY(warning.contains(QStringLiteral("GNU General Public License")));
    const auto* warningLabel = control<QLabel>(&about, "lblDisclaimer");
    QVERIFY(warningLabel->heightForWidth(warningLabel->width()) <= warningLabel->height());
    QCOMPARE(control<QPushButton>(&about, "cmdOK")->text(), QStringLiteral("OK"));
}

void AboutWindowTest::layoutSampleColoursAndRule() {
    AboutWindow about(m_opener);
    QCOMPARE(about.size(), QSize(382, 253));
    // What a click at a place of the window reaches: the link across its line, OK below the
    // warning, nothing but the window beside OK.
    const std::pair<QPoint, QWidget*> clicks[] = {
        {{190, 92}, control<QWidget>(&about, "Label3")},
        {{20, 92}, control<QWidget>(&about, "Label3")},
        {{194, 235}, control<QWidget>(&about, "cmdOK")},
        {{100, 235}, nullptr},
    };
    for (const auto& [point, expected] : clicks) {
        QCOMPARE(about.childAt(point), expected);
    }

    const QImage image = about.grab().toImage();
    const QColor pink(255, 192, 192);
    QCOMPARE(image.pixelColor(3, 3), pink);
    // The etched rule at y 136 runs from x 8 to the right edge: grey over white.
    QCOMPARE(image.pixelColor(6, 136), pink);
    QCOMPARE(image.pixelColor(8, 136), QColor(128, 128, 128));
    QCOMPARE(image.pixelColor(377, 137), QColor(Qt::white));
    QCOMPARE(image.pixelColor(200, 135), pink);
    QCOMPARE(image.pixelColor(200, 138), pink);

    // The link is drawn in pure blue, the title in black.
    auto hasPixel = [&image](const QRect& area, const QColor& colour) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixelColor(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    };
    QVERIFY(hasPixel(QRect(0, 80, 382, 25), QColor(0, 0, 255)));
    QVERIFY(hasPixel(QRect(0, 8, 379, 16), QColor(Qt::black)));
    QVERIFY(!hasPixel(QRect(0, 8, 379, 16), QColor(0, 0, 255)));
}

void AboutWindowTest::labelsFitTheirBoxes() {
    AboutWindow about(m_opener);
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        const QFontMetrics metrics(label->font());
        const QRect needed = metrics.boundingRect(
            label->contentsRect(), int(label->alignment()) | Qt::TextWordWrap, label->text());
        QVERIFY2(needed.height() <= label->height(),
                 qPrintable(label->objectName() + QStringLiteral(" is too low")));
        QVERIFY2(label->wordWrap() || metrics.horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName() + QStringLiteral(" is too narrow")));
    }
}

void AboutWindowTest::closesByOkAndByKeys_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("OK clicked") << 0;
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void AboutWindowTest::closesByOkAndByKeys() {
    QFETCH(int, key);
    AboutLauncher launcher(m_opener);
    launcher.mnuAbout_Click();
    QPointer<AboutWindow> about = launcher.window();
    QVERIFY(QTest::qWaitForWindowActive(about));
    auto* ok = control<QPushButton>(about, "cmdOK");
    QVERIFY(ok->hasFocus());
    QVERIFY(ok->isDefault());

    if (key == 0) {
        QTest::mouseClick(ok, Qt::LeftButton);
    } else {
        QTest::keyClick(about->focusWidget(), Qt::Key(key));
    }
    QTRY_VERIFY(about.isNull());  // closed and destroyed
    QVERIFY(!launcher.window());
    QVERIFY(m_opener.opened.isEmpty());
}

void AboutWindowTest::oneWindowCentredAtEveryOpening() {
    AboutLauncher launcher(m_opener);
    launcher.mnuAbout_Click();
    AboutWindow* first = launcher.window();
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QVERIFY(isCentred(first));
    QVERIFY(!first->isModal());
    QVERIFY(!first->parentWidget());
    first->move(5, 7);
    launcher.mnuAbout_Click();
    QCOMPARE(launcher.window(), first);
    QCOMPARE(visibleWindows<AboutWindow>().size(), 1);

    // After it is closed, the entry builds a new one, centred again.
    first->close();
    QTRY_VERIFY(!launcher.window());
    launcher.mnuAbout_Click();
    QVERIFY(QTest::qWaitForWindowExposed(launcher.window()));
    QVERIFY(isCentred(launcher.window()));
    QCOMPARE(visibleWindows<AboutWindow>().size(), 1);
}

// Only its button, Enter, Escape and the close box close it: turning to the main window, or to
// the browser its link opened, leaves it open.
void AboutWindowTest::staysOpenWhenAnotherWindowIsActivated() {
    AboutLauncher launcher(m_opener);
    launcher.mnuAbout_Click();
    QPointer<AboutWindow> about = launcher.window();
    QVERIFY(QTest::qWaitForWindowActive(about));
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));

    // As when the entry is chosen again from the main window's menu: the focus passes to the
    // main window and the entry brings it straight back.
    other.activateWindow();
    launcher.mnuAbout_Click();
    QTRY_VERIFY(!about.isNull() && about->isActiveWindow());
    QCOMPARE(visibleWindows<AboutWindow>().size(), 1);

    // The player clicks back into the main window, and the link's browser takes the focus.
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTest::mouseClick(control<QLabel>(about, "Label3"), Qt::LeftButton);
    QCOMPARE(m_opener.opened.size(), 1);
    QTest::qWait(400);  // well past any settling of the focus
    QVERIFY(!about.isNull());
    QVERIFY(about->isVisible());
    QCOMPARE(launcher.window(), about.data());
    QVERIFY(!about->isActiveWindow());

    // Its own keys still close it once it is active again.
    launcher.mnuAbout_Click();
    QVERIFY(QTest::qWaitForWindowActive(about));
    QTest::keyClick(about->focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(about.isNull());
}

void AboutWindowTest::linkOpensOnAClickThatStaysOnIt() {
    AboutWindow about(m_opener);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto* link = control<QLabel>(&about, "Label3");

    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(20, 60));  // below it, on Label1
    QTest::mouseClick(link, Qt::RightButton);
    QTest::mouseClick(control<QLabel>(&about, "Label2"), Qt::LeftButton);
    QVERIFY(m_opener.opened.isEmpty());

    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(300, 20));
    const QUrl site(BRIGHTSUM_EXPECTED_WEB_ADDRESS "/");
    QCOMPARE(m_opener.opened, (QList<QUrl>{site, site}));
    QVERIFY(about.isVisible());
}

void AboutWindowTest::handCursorFromTheFirstMoveOverTheLink() {
    AboutWindow about(m_opener);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto* link = control<QLabel>(&about, "Label3");
    QVERIFY(!link->testAttribute(Qt::WA_SetCursor));

    // A move as the window system reports it, wherever the real pointer is.
    QTest::mouseMove(about.windowHandle(), link->mapTo(&about, QPoint(100, 12)));
    QTRY_VERIFY(link->testAttribute(Qt::WA_SetCursor));
    const QCursor hand = link->cursor();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.hotSpot(), QPoint(12, 1));
    QCOMPARE(hand.pixmap().size(), QSize(32, 32));
    // The hot spot is on the fingertip, not on a transparent pixel.
    QCOMPARE(hand.pixmap().toImage().pixelColor(12, 1).alpha(), 255);
    // Everywhere else the pointer stays the ordinary arrow.
    QCOMPARE(control<QLabel>(&about, "Label2")->cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(AboutWindowTest)
#include "tst_window.moc"
