// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewer.h"

#include "Announcer.h"
#include "LocalFileAddress.h"
#include "OpenFailureNotice.h"
#include "ReadOnlyTextAccessible.h"
#include "UrlOpener.h"
#include "WindowLayout.h"

#include <QAccessible>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace brightsum {

namespace {

// Enough for the page's text column at the desktop's usual font.
constexpr int kWidth = 640;
constexpr int kHeight = 560;

// The most of a page or a picture the window reads. The help page can be edited by anyone who
// can write the program folder, and what it points at may be anything: /dev/zero, a FIFO, a
// film.
constexpr std::uintmax_t kResourceLimit = 8 << 20;

// Reads local pages by the bytes of their names, so that a program folder whose name is not
// UTF-8 still shows its page: QTextBrowser's own reading goes through text file names. Only
// regular files of a bounded size are read; anything else shows as missing. A refusal is an
// empty resource, not none: given none, the document would read the file itself, unbounded.
class PageBrowser final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        if (!name.isLocalFile()) {
            return QTextBrowser::loadResource(type, name);
        }
        static const QVariant kRefused = QVariant::fromValue(QByteArray());
        const std::filesystem::path path = localFilePath(name);
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) {
            return kRefused;
        }
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (error || size > kResourceLimit) {
            return kRefused;
        }
        // One byte more than measured, to tell a file that has grown since.
        std::string bytes(static_cast<std::size_t>(size) + 1, '\0');
        std::ifstream file(path, std::ios::binary);
        file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (file.bad() || static_cast<std::uintmax_t>(file.gcount()) > size) {
            return kRefused;
        }
        bytes.resize(static_cast<std::size_t>(file.gcount()));
        return QByteArray::fromStdString(bytes);
    }

    // Told the text of each link that Tab or Shift+Tab brings the focus to.
    std::function<void(const QString&)> linkReached;

protected:
    bool focusNextPrevChild(bool next) override {
        const bool moved = QTextBrowser::focusNextPrevChild(next);
        // The browser marks the link by selecting it and tells no one; a screen reader would
        // hear nothing.
        const QTextCursor cursor = textCursor();
        if (moved && hasFocus() && cursor.hasSelection() && linkReached) {
            linkReached(cursor.selectedText());
        }
        return moved;
    }
};

// Where the page's anchor of this name begins, or -1.
int anchorPosition(const QTextDocument* document, const QString& name) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().anchorNames().contains(name)) {
                return fragment.fragment().position();
            }
        }
    }
    return -1;
}

// Qt exposes a QTextBrowser as a label, which a screen reader reads whole, all of the page at
// once, when it gets the focus.
QAccessibleInterface* pageAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("QTextBrowser")) {
        if (auto* browser = dynamic_cast<PageBrowser*>(object)) {
            return new ReadOnlyTextAccessible(browser);
        }
    }
    return nullptr;
}

}  // namespace

HelpViewer::HelpViewer(const QUrl& page, UrlOpener& opener, QWidget* parent)
    : QWidget(parent), m_opener(opener), m_page(page) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pageAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("helpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window alone decides when the program ends.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_browser = new PageBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpPage"));
    m_browser->setFrameShape(QFrame::NoFrame);
    // A caret that the arrow keys move, so that the page can be read line by line; Tab goes
    // from link to link as before.
    m_browser->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    // Links are followed here: anchors of the page inside, everything else on the desktop.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);
    m_announcer = new Announcer(this);
    static_cast<PageBrowser*>(m_browser)->linkReached = [this](const QString& text) {
        //: Read out by screen readers when Tab reaches a link of the help page; %1 is the
        //: link's text.
        m_announcer->say(tr("%1, link").arg(text));
    };
    // The page brings its own colours, written for a light paper as any browser shows it;
    // a dark desktop scheme must not put its light text on that paper.
    QPalette paper = m_browser->palette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    m_browser->setPalette(paper);
    m_browser->setSource(page, QTextDocument::HtmlResource);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_browser);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? tr("Brightsum help") : title);
    resize(kWidth, kHeight);
    create();
    layout::centreOnScreen(this);
    m_browser->setFocus();
}

void HelpViewer::followLink(const QUrl& link) {
    const QUrl target = m_page.resolved(link);
    if (target.adjusted(QUrl::RemoveFragment) == m_page.adjusted(QUrl::RemoveFragment)) {
        // The caret goes along, so that reading goes on from the place the link leads to.
        const int place = anchorPosition(m_browser->document(), target.fragment());
        if (place >= 0) {
            QTextCursor cursor(m_browser->document());
            cursor.setPosition(place);
            m_browser->setTextCursor(cursor);
            m_announcer->say(cursor.block().text());
        }
        m_browser->scrollToAnchor(target.fragment());
        return;
    }
    m_opener.openUrl(target, [target] {
        OpenFailureNotice::show(
            tr("No program could be started to open %1").arg(target.toDisplayString()));
    });
}

}  // namespace brightsum
