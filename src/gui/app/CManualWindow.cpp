#include "CManualWindow.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

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
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setObjectName(QStringLiteral("manualText"));
    m_pBrowser->setOpenExternalLinks(true);
    // Section links are followed here; other links go through setSource.
    m_pBrowser->setOpenLinks(false);
    connect(m_pBrowser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme().isEmpty() && url.path().isEmpty() && url.hasFragment())
            ScrollToSection(url.fragment());
        else
            m_pBrowser->setSource(url);
    });
    layout->addWidget(m_pBrowser);
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
    m_pBrowser->setSearchPaths({file.absolutePath()});
    m_pBrowser->setSource(QUrl::fromLocalFile(file.absoluteFilePath()), QTextDocument::MarkdownResource);
    return !m_pBrowser->document()->isEmpty();
}

void CManualWindow::ScrollToSection(const QString& name)
{
    for (QTextBlock block = m_pBrowser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 && SectionName(block.text()) == name) {
            // The heading at the top: to the end first, then back to it.
            m_pBrowser->moveCursor(QTextCursor::End);
            m_pBrowser->setTextCursor(QTextCursor(block));
            m_pBrowser->ensureCursorVisible();
            return;
        }
    }
}
