// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutWindow.h"
#include "BoardButton.h"
#include "HelpViewer.h"
#include "HighScoreTable.h"
#include "HighScoreWindow.h"
#include "MainWindow.h"
#include "WidgetTestSupport.h"

#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <map>

using namespace brightsum;

namespace {

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double luminance(const QColor& colour) {
    const auto channel = [](double c) {
        c /= 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A dark desktop scheme: light text on dark grey, as dark themes of the desktops set it.
QPalette darkPalette() {
    QPalette dark;
    const QColor window(53, 53, 53);
    const QColor base(42, 42, 42);
    for (const auto& [role, colour] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>>{
             {QPalette::Window, window},
             {QPalette::WindowText, Qt::white},
             {QPalette::Base, base},
             {QPalette::AlternateBase, QColor(66, 66, 66)},
             {QPalette::Text, Qt::white},
             {QPalette::Button, window},
             {QPalette::ButtonText, Qt::white},
             {QPalette::Light, QColor(80, 80, 80)},
             {QPalette::Midlight, QColor(64, 64, 64)},
             {QPalette::Mid, QColor(44, 44, 44)},
             {QPalette::Dark, QColor(35, 35, 35)},
             {QPalette::Shadow, QColor(20, 20, 20)},
             {QPalette::Highlight, QColor(42, 130, 218)},
             {QPalette::HighlightedText, Qt::black},
             {QPalette::ToolTipBase, window},
             {QPalette::ToolTipText, Qt::white}}) {
        dark.setColor(role, colour);
    }
    return dark;
}

// What a reader sees of the text in `area` of a grab: the background is the commonest colour
// there, the text the pixel that stands out most from it.
struct Ink {
    QColor background;
    QColor text;
    double ratio = 0;
};

Ink inkIn(const QImage& image, const QRect& area) {
    std::map<QRgb, int> counts;
    const QRect box = area & image.rect();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    Ink ink;
    if (counts.empty()) {
        return ink;
    }
    ink.background =
        QColor(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                   return a.second < b.second;
               })->first);
    for (const auto& [rgb, count] : counts) {
        if (const double ratio = contrast(QColor(rgb), ink.background); ratio > ink.ratio) {
            ink.ratio = ratio;
            ink.text = QColor(rgb);
        }
    }
    return ink;
}

QString describe(const QString& what, const Ink& ink) {
    return QStringLiteral("%1: %2 on %3, %4:1")
        .arg(what, ink.text.name(), ink.background.name())
        .arg(ink.ratio, 0, 'f', 2);
}

// Every text of a window against the background behind it; a text's box is mapped into the
// window's grab.
void checkTexts(QWidget* window, const QImage& image, double minimum) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty()) {
            continue;
        }
        const Ink ink = inkIn(image, QRect(label->mapTo(window, QPoint(0, 0)), label->size()));
        qInfo().noquote() << describe(window->objectName() + "/" + label->objectName(), ink);
        QVERIFY2(ink.ratio >= minimum, qPrintable(describe(label->objectName(), ink)));
    }
    for (QListWidget* list : window->findChildren<QListWidget*>()) {
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->text().trimmed().isEmpty()) {
                continue;
            }
            const QRect item = list->visualItemRect(list->item(row));
            const Ink ink =
                inkIn(image, QRect(list->viewport()->mapTo(window, item.topLeft()), item.size()));
            QVERIFY2(ink.ratio >= minimum,
                     qPrintable(describe(list->objectName() + " " + list->item(row)->text(), ink)));
            if (row == 2) {
                qInfo().noquote() << describe(list->objectName() + " rows", ink);
            }
        }
    }
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (!button->isVisibleTo(window) || qobject_cast<BoardButton*>(button)) {
            continue;
        }
        // The caption's middle, clear of the frame and the focus ring.
        const QRect caption =
            QRect(button->mapTo(window, QPoint(0, 0)), button->size()).adjusted(6, 6, -6, -6);
        const Ink ink = inkIn(image, caption);
        qInfo().noquote() << describe(window->objectName() + "/" + button->objectName(), ink);
        QVERIFY2(ink.ratio >= minimum, qPrintable(describe(button->objectName(), ink)));
    }
}

// Longest run of pixels along `line` (from the edge inwards) that differ from the unfocused
// button and stand out from the face by at least 3:1, and the lowest contrast within it.
struct Band {
    int width = 0;
    double ratio = 0;
};

Band ringBand(const QImage& focused, const QImage& plain, const QColor& face, QPoint from,
              QPoint step, int length) {
    Band best;
    Band run{0, 1e9};
    QPoint p = from;
    for (int i = 0; i < length; ++i, p += step) {
        const QColor pixel = focused.pixelColor(p);
        const double ratio = contrast(pixel, face);
        if (pixel != plain.pixelColor(p) && ratio >= 3.0) {
            run.width += 1;
            run.ratio = std::min(run.ratio, ratio);
            if (run.width > best.width) {
                best = run;
            }
        } else {
            run = Band{0, 1e9};
        }
    }
    return best;
}

}  // namespace

class DarkPaletteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void mainWindowTextsAreBlackOnTheirColours();
    void aboutAndHighScoreTextsStandOut();
    void boardFocusRingShowsOnEveryFace_data();
    void boardFocusRingShowsOnEveryFace();
    void okayAndOkShowTheirFocus();
};

void DarkPaletteTest::initTestCase() {
    QApplication::setPalette(darkPalette());
}

void DarkPaletteTest::mainWindowTextsAreBlackOnTheirColours() {
    MainWindow form;
    form.timer(Timer::tmrInit)->stop();
    form.setCaption(Label::lblPart1, "74");
    form.setCaption(Label::lblAnswer, "73");
    form.setButtonColour(0, 9);   // blue
    form.setButtonColour(1, 10);  // green
    form.setButtonColour(2, 15);  // white
    for (int i = 0; i < 3; ++i) {
        form.setButtonCaption(i, "88");
    }
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.numberButton(35)->setFocus();  // no focus ring on the buttons measured
    checkTexts(form.client(), form.client()->grab().toImage(), 4.5);

    for (int i = 0; i < 3; ++i) {
        const Ink ink = inkIn(form.numberButton(i)->grab().toImage(),
                              form.numberButton(i)->rect().adjusted(6, 6, -6, -6));
        qInfo().noquote() << describe(QStringLiteral("board button ") + ink.background.name(), ink);
        // Black on every face; on the pure blue that gives only 2.4:1, as the board always had.
        QCOMPARE(ink.text, QColor(Qt::black));
        QVERIFY2(ink.ratio >= (i == 0 ? 2.4 : 4.5), qPrintable(describe("button", ink)));
    }

    // The menu bar keeps the desktop's scheme: light text drawn on its dark bar.
    const Ink menu = inkIn(form.menuBar()->grab().toImage(), form.menuBar()->rect());
    qInfo().noquote() << describe(QStringLiteral("menu bar"), menu);
    QVERIFY2(menu.background.lightness() < 100 && menu.text.lightness() > 200,
             qPrintable(describe(QStringLiteral("menu bar"), menu)));
}

void DarkPaletteTest::aboutAndHighScoreTextsStandOut() {
    RecordingUrlOpener opener;
    AboutWindow about(opener);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    checkTexts(&about, about.grab().toImage(), 4.5);

    HighScoreWindow scores(HighScoreTable::DefaultHighScores(), nullptr);
    scores.show();
    QVERIFY(QTest::qWaitForWindowExposed(&scores));
    checkTexts(&scores, scores.grab().toImage(), 4.5);

    // The help page brings colours written for light paper: black on white, not the scheme's.
    HelpViewer help(QUrl::fromLocalFile(QStringLiteral(BRIGHTSUM_PROGRAM_DIR "/readme.htm")),
                    opener);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    const Ink page = inkIn(help.browser()->viewport()->grab().toImage(), QRect(0, 0, 400, 200));
    qInfo().noquote() << describe(QStringLiteral("help page"), page);
    QCOMPARE(page.background, QColor(Qt::white));
    QVERIFY2(page.ratio >= 7, qPrintable(describe(QStringLiteral("help page"), page)));
}

void DarkPaletteTest::boardFocusRingShowsOnEveryFace_data() {
    QTest::addColumn<int>("paletteIndex");
    QTest::newRow("blue") << 9;
    QTest::newRow("green") << 10;
    QTest::newRow("white") << 15;
}

void DarkPaletteTest::boardFocusRingShowsOnEveryFace() {
    QFETCH(int, paletteIndex);
    MainWindow form;
    form.timer(Timer::tmrInit)->stop();
    form.setButtonColour(7, paletteIndex);
    form.setButtonCaption(7, "88");
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    BoardButton* button = form.numberButton(7);
    form.numberButton(8)->setFocus();
    const QImage plain = button->grab().toImage();
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    const QImage focused = button->grab().toImage();

    const QColor face = MainWindow::paletteColour(paletteIndex);
    const int w = plain.width();
    const int h = plain.height();
    const std::pair<const char*, Band> sides[] = {
        {"top", ringBand(focused, plain, face, {w / 4, 0}, {0, 1}, h / 2)},
        {"bottom", ringBand(focused, plain, face, {w / 4, h - 1}, {0, -1}, h / 2)},
        {"left", ringBand(focused, plain, face, {0, h / 2}, {1, 0}, w / 2)},
        {"right", ringBand(focused, plain, face, {w - 1, h / 2}, {-1, 0}, w / 2)},
    };
    for (const auto& [side, band] : sides) {
        const QString what = QStringLiteral("focus ring on %1, %2 side: %3 px at %4:1 or more")
                                 .arg(face.name(), side)
                                 .arg(band.width)
                                 .arg(band.ratio, 0, 'f', 2);
        qInfo().noquote() << what;
        QVERIFY2(band.width >= 2, qPrintable(what));
    }
    // The caption stays black inside the ring.
    QCOMPARE(inkIn(focused, button->rect().adjusted(8, 8, -8, -8)).text, QColor(Qt::black));
}

void DarkPaletteTest::okayAndOkShowTheirFocus() {
    RecordingUrlOpener opener;
    AboutWindow about(opener);
    HighScoreWindow scores(HighScoreTable::DefaultHighScores(), nullptr);
    for (QPushButton* button :
         {about.findChild<QPushButton*>(QStringLiteral("cmdOK")), scores.okay()}) {
        QWidget* window = button->window();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QWidget* other = window->nextInFocusChain() == button ? window->previousInFocusChain()
                                                              : window->nextInFocusChain();
        other->setFocus();
        button->clearFocus();
        const QImage plain = button->grab().toImage();
        button->setFocus();
        QTRY_VERIFY(button->hasFocus());
        const QImage focused = button->grab().toImage();
        const QColor face = plain.pixelColor(plain.width() / 2, 4);
        const Band top =
            ringBand(focused, plain, face, {plain.width() / 3, 0}, {0, 1}, plain.height() / 2);
        const Band left =
            ringBand(focused, plain, face, {0, plain.height() / 2}, {1, 0}, plain.width() / 2);
        const QString what = QStringLiteral("%1 focus ring on %2: %3 px top, %4 px left, %5:1")
                                 .arg(button->objectName(), face.name())
                                 .arg(top.width)
                                 .arg(left.width)
                                 .arg(std::min(top.ratio, left.ratio), 0, 'f', 2);
        qInfo().noquote() << what;
        QVERIFY2(top.width >= 2 && left.width >= 2, qPrintable(what));
        window->hide();
    }
}

QTEST_MAIN(DarkPaletteTest)
#include "tst_dark_palette.moc"
