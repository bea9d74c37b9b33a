#include "CManualWindow.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QImage>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A heading's anchor as Markdown writers link it: lower case, spaces as
// dashes, punctuation dropped.
QString SectionName(const QString& heading)
{
    QString name = heading.trimmed().toLower();
    name.replace(QRegularExpression(QStringLiteral("[^\\w\\- ]")), QString());
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    return name;
}

} // namespace

CManualWindow::CManualWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("manualWindow"));
    setWindowTitle(tr("Trevalin 用户手册"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("manualText"));
    m_browser->setOpenExternalLinks(true);
    // Section links are followed here; other links go through setSource.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        // The link comes resolved against the manual's own address.
        const QUrl page = url.adjusted(QUrl::RemoveFragment);
        if (url.hasFragment() && (page.isEmpty() || page == m_browser->source().adjusted(QUrl::RemoveFragment)))
            ScrollToSection(url.fragment());
        else
            m_browser->setSource(url);
    });
    layout->addWidget(m_browser);
    m_browser->viewport()->installEventFilter(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    resize(820, 760);
}

bool CManualWindow::Open(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) return false;
    // The pictures are named relative to the manual.
    m_browser->setSearchPaths({file.absolutePath()});
    m_pictureSizes.clear();
    m_browser->setSource(QUrl::fromLocalFile(file.absoluteFilePath()), QTextDocument::MarkdownResource);
    FitPictures();
    return !m_browser->document()->isEmpty();
}

void CManualWindow::ScrollToSection(const QString& name)
{
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 && SectionName(block.text()) == name) {
            // The heading at the top.
            const QRectF place = m_browser->document()->documentLayout()->blockBoundingRect(block);
            m_browser->verticalScrollBar()->setValue(static_cast<int>(place.top()));
            return;
        }
    }
}

void CManualWindow::FitPictures()
{
    QTextDocument* document = m_browser->document();
    const int room = m_browser->viewport()->width() - 2 * static_cast<int>(document->documentMargin()) - 24;
    if (room <= 0) return;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            QSize& size = m_pictureSizes[format.name()];
            if (size.isEmpty()) {
                size = QImage::fromData(
                           m_browser->loadResource(QTextDocument::ImageResource, QUrl(format.name())).toByteArray())
                           .size();
            }
            if (size.isEmpty()) continue;
            const int width = std::min(size.width(), room);
            if (static_cast<int>(format.width()) == width) continue;
            format.setWidth(width);
            format.setHeight(static_cast<double>(size.height()) * width / size.width());
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

bool CManualWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_browser->viewport() && event->type() == QEvent::Resize) FitPictures();
    return QDialog::eventFilter(watched, event);
}
