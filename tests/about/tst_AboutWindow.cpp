#include "AboutLauncher.h"
#include "RecordingUrlOpener.h"
#include "frmAbout.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using brightsum::AboutLauncher;
using brightsum::frmAbout;

namespace {

QList<frmAbout*> openAboutWindows() {
    QList<frmAbout*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* about = qobject_cast<frmAbout*>(widget); about && about->isVisible()) {
            found.append(about);
        }
    }
    return found;
}

template <typename T>
T* control(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found) {
        qFatal("control %s is missing", name);
    }
    return found;
}

QPoint screenCentredTopLeft(const QWidget* window) {
    const QRect area = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = window->frameGeometry().size();
    return {area.left() + (area.width() - outer.width()) / 2,
            area.top() + (area.height() - outer.height()) / 2};
}

}  // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void showsItsTextsWhenLoaded();
    void controlsStandAtTheirPlaces_data();
    void controlsStandAtTheirPlaces();
    void labelsFitTheirBoxesAndTakeNoFocus();
    void paintsPinkBackgroundAndEtchedRule();
    void closesByOkAndByKeys_data();
    void closesByOkAndByKeys();
    void choosingTheEntryAgainKeepsOneWindow();
    void isCentredAgainAtEveryOpening();
    void closesWhenAnotherWindowTakesTheFocus();
    void staysOpenWhenTheFocusComesStraightBack();
    void linkOpensTheWebSiteAndStaysOpen();
    void pressAndReleaseMustBothBeOnTheLink();
    void handCursorFromTheFirstMoveOverTheLink();
    void failureToStartABrowserIsReported();

private:
    RecordingUrlOpener m_opener;
};

void TestAboutWindow::initTestCase() {
    // As the program itself does: the classic face name maps to a metric-compatible font.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

void TestAboutWindow::cleanup() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmAbout*>(widget) || qobject_cast<QMessageBox*>(widget)) {
            delete widget;
        }
    }
    m_opener.opened.clear();
    m_opener.viewerStarts = true;
}

void TestAboutWindow::showsItsTextsWhenLoaded() {
    frmAbout about(m_opener);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Sumbright"));
    QCOMPARE(control<QLabel>(&about, "lblTitle")->text(), QStringLiteral("Brightsum"));
    QCOMPARE(control<QLabel>(&about, "lblVersion")->text(),
             QStringLiteral("Version " BRIGHTSUM_EXPECTED_VERSION));
    QCOMPARE(control<QLabel>(&about, "Label3")->text(),
             QStringLiteral(BRIGHTSUM_EXPECTED_WEB_ADDRESS));
    QVERIFY(!control<QLabel>(&about, "Label2")->text().isEmpty());
    const QString notice = control<QLabel>(&about, "Label1")->text();
    QVERIFY(notice.startsWith(QStringLiteral("Copyright")));
    QVERIFY(notice.contains(QStringLiteral("All rights reserved")));
    const QString warning = control<QLabel>(&about, "lblDisclaimer")->text();
    QVERIFY2(warning.size() >= 250 && warning.size() <= 310, qPrintable(warning));
    QCOMPARE(control<QPushButton>(&about, "cmdOK")->text(), QStringLiteral("OK"));
}

void TestAboutWindow::controlsStandAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    // Pixels are the layout's twips divided by 15.
    QTest::newRow("lblTitle") << "lblTitle" << QRect(0, 8, 379, 16);
    QTest::newRow("lblVersion") << "lblVersion" << QRect(0, 24, 379, 15);
    QTest::newRow("Label2") << "Label2" << QRect(0, 64, 385, 17);
    QTest::newRow("Label3") << "Label3" << QRect(0, 80, 385, 25);
    QTest::newRow("Label1") << "Label1" << QRect(0, 112, 385, 17);
    QTest::newRow("lblDisclaimer") << "lblDisclaimer" << QRect(8, 144, 369, 71);
    QTest::newRow("cmdOK") << "cmdOK" << QRect(152, 224, 84, 23);
}

void TestAboutWindow::controlsStandAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    frmAbout about(m_opener);
    QCOMPARE(about.size(), QSize(382, 253));
    auto* widget = about.findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), place);
}

void TestAboutWindow::labelsFitTheirBoxesAndTakeNoFocus() {
    frmAbout about(m_opener);
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        QVERIFY2(label->focusPolicy() == Qt::NoFocus, qPrintable(label->objectName()));
        const QFontMetrics metrics(label->font());
        const QRect needed = metrics.boundingRect(
            label->contentsRect(), int(label->alignment()) | Qt::TextWordWrap, label->text());
        QVERIFY2(needed.height() <= label->height(),
                 qPrintable(label->objectName() + QStringLiteral(" is too low")));
        if (!label->wordWrap()) {
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName() + QStringLiteral(" is too narrow")));
        }
    }
}

void TestAboutWindow::paintsPinkBackgroundAndEtchedRule() {
    frmAbout about(m_opener);
    const QImage image = about.grab().toImage();
    const QColor pink(255, 192, 192);
    QCOMPARE(image.pixelColor(3, 3), pink);
    QCOMPARE(image.pixelColor(375, 245), pink);
    // The rule at y 136 runs from x 8 to the right edge: grey over white.
    QCOMPARE(image.pixelColor(8, 136), QColor(128, 128, 128));
    QCOMPARE(image.pixelColor(200, 136), QColor(128, 128, 128));
    QCOMPARE(image.pixelColor(200, 137), QColor(Qt::white));
    QCOMPARE(image.pixelColor(377, 137), QColor(Qt::white));
    QCOMPARE(image.pixelColor(200, 135), pink);
    QCOMPARE(image.pixelColor(200, 138), pink);
    QCOMPARE(image.pixelColor(6, 136), pink);

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

void TestAboutWindow::closesByOkAndByKeys_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("OK clicked") << 0;
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void TestAboutWindow::closesByOkAndByKeys() {
    QFETCH(int, key);
    AboutLauncher launcher(m_opener);
    launcher.mnuAbout_Click();
    QPointer<frmAbout> about = launcher.window();
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

void TestAboutWindow::choosingTheEntryAgainKeepsOneWindow() {
    AboutLauncher launcher(m_opener);
    launcher.mnuAbout_Click();
    frmAbout* first = launcher.window();
    QVERIFY(first);
    launcher.mnuAbout_Click();
    QCOMPARE(launcher.window(), first);
    QCOMPARE(openAboutWindows().size(), 1);
    QVERIFY(!first->isModal());
    QVERIFY(!first->parentWidget());

    // After it is closed, the entry builds a new one.
    first->close();
    QTRY_VERIFY(!launcher.window());
    launcher.mnuAbout_Click();
    QVERIFY(launcher.window());
    QCOMPARE(openAboutWindows().size(), 1);
}

void TestAboutWindow::isCentredAgainAtEveryOpening() {
    AboutLauncher launcher(m_opener);
    launcher.mnuAbout_Click();
    QVERIFY(QTest::qWaitForWindowExposed(launcher.window()));
    QCOMPARE(launcher.window()->frameGeometry().topLeft(), screenCentredTopLeft(launcher.window()));

    launcher.window()->move(5, 7);
    QCOMPARE(launcher.window()->frameGeometry().topLeft(), QPoint(5, 7));
    launcher.window()->close();
    QTRY_VERIFY(!launcher.window());

    launcher.mnuAbout_Click();
    QVERIFY(QTest::qWaitForWindowExposed(launcher.window()));
    QCOMPARE(launcher.window()->frameGeometry().topLeft(), screenCentredTopLeft(launcher.window()));
}

void TestAboutWindow::closesWhenAnotherWindowTakesTheFocus() {
    AboutLauncher launcher(m_opener);
    launcher.mnuAbout_Click();
    QPointer<frmAbout> about = launcher.window();
    QVERIFY(QTest::qWaitForWindowActive(about));

    // Being shown again while active must not close it.
    launcher.mnuAbout_Click();
    QVERIFY(!about.isNull());

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTRY_VERIFY(about.isNull());
}

void TestAboutWindow::staysOpenWhenTheFocusComesStraightBack() {
    AboutLauncher launcher(m_opener);
    launcher.mnuAbout_Click();
    QPointer<frmAbout> about = launcher.window();
    QVERIFY(QTest::qWaitForWindowActive(about));

    // As when the entry is chosen again from the main window's menu: the focus passes to the
    // main window and the entry brings it straight back.
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    launcher.mnuAbout_Click();
    QTRY_VERIFY(!about.isNull() && about->isActiveWindow());
    QVERIFY(!about->findChild<QTimer*>(QStringLiteral("focusCheck"))->isActive());
    QCOMPARE(openAboutWindows().size(), 1);
}

void TestAboutWindow::linkOpensTheWebSiteAndStaysOpen() {
    AboutLauncher launcher(m_opener);
    launcher.mnuAbout_Click();
    QPointer<frmAbout> about = launcher.window();
    QVERIFY(QTest::qWaitForWindowExposed(about));

    QTest::mouseClick(control<QLabel>(about, "Label3"), Qt::LeftButton);
    QCOMPARE(m_opener.opened, QList<QUrl>{QUrl(BRIGHTSUM_EXPECTED_WEB_ADDRESS "/")});
    QVERIFY(!about.isNull());
    QVERIFY(about->isVisible());

    QTest::mouseClick(control<QLabel>(about, "Label3"), Qt::LeftButton);
    QCOMPARE(m_opener.opened.size(), 2);
}

void TestAboutWindow::pressAndReleaseMustBothBeOnTheLink() {
    frmAbout about(m_opener);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto* link = control<QLabel>(&about, "Label3");

    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(20, 60));  // below it, on Label1
    QTest::mouseClick(link, Qt::RightButton);
    QTest::mouseClick(control<QLabel>(&about, "Label2"), Qt::LeftButton);
    QVERIFY(m_opener.opened.isEmpty());

    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(300, 20));
    QCOMPARE(m_opener.opened.size(), 1);
}

void TestAboutWindow::handCursorFromTheFirstMoveOverTheLink() {
    frmAbout about(m_opener);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto* link = control<QLabel>(&about, "Label3");
    QVERIFY(!link->testAttribute(Qt::WA_SetCursor));

    QTest::mouseMove(link, QPoint(100, 12));
    QTRY_VERIFY(link->testAttribute(Qt::WA_SetCursor));
    const QCursor hand = link->cursor();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.hotSpot(), QPoint(12, 1));
    QCOMPARE(hand.pixmap().size(), QSize(32, 32));
    // The hot spot is on the fingertip, not on a transparent pixel.
    QCOMPARE(hand.pixmap().toImage().pixelColor(12, 1).alpha(), 255);

    // Everywhere else the pointer stays the ordinary arrow.
    QCOMPARE(about.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(control<QPushButton>(&about, "cmdOK")->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(control<QLabel>(&about, "Label2")->cursor().shape(), Qt::ArrowCursor);
}

void TestAboutWindow::failureToStartABrowserIsReported() {
    m_opener.viewerStarts = false;
    frmAbout about(m_opener);
    about.Label3_Click();
    QCOMPARE(m_opener.opened.size(), 1);

    QMessageBox* notice = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
            notice = box;
        }
    }
    QVERIFY(notice);
    QVERIFY(!notice->isModal());
    QVERIFY(notice->text().contains(QStringLiteral(BRIGHTSUM_EXPECTED_WEB_ADDRESS "/")));
}

QTEST_MAIN(TestAboutWindow)
#include "tst_AboutWindow.moc"
