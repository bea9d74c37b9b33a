#include "CDocManager.h"

#include "CRecentFileList.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "editing/CUserPrompts.h"
#include "language/CCoreText.h"
#include "options/CMorphOptionsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUndoStack>

const char* const CDocManager::kProjectFilter = QT_TR_NOOP("tvl 文件(*.tvl) (*.tvl);;所有文件 (*.*) (*)");
const QString CDocManager::kDefaultSuffix = QStringLiteral("tvl");

namespace {
// The project's title as shown: an untitled project's name is translated,
// a file's name is shown as it is.
QString TitleOf(const CTrevalinDoc& doc)
{
    return doc.GetPathName().empty() && doc.GetTitle() == CDocument::kUntitled
               ? CCoreText::Translate(CMessage(CDocument::kUntitled))
               : QString::fromStdString(doc.GetTitle());
}

// A failed open or save: what failed, and on a line of its own what the
// system said.
QString FailureText(const CDocStatus& status)
{
    QString text = CCoreText::Translate(status.message);
    if (!status.detail.IsEmpty()) text += QStringLiteral("\n") + CCoreText::Translate(status.detail);
    return text;
}

// The question before changes would be lost.
QString SaveQuestion(const QString& title)
{
    return CDocManager::tr("是否保存对 %1 的更改?").arg(title);
}

} // namespace

namespace {

// The full form of a path, for comparing and for keeping.
QString FullPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

CDocManager::CDocManager(CDocController& doc, CRecentFileList& recent, CUserPrompts& prompts, QObject* parent)
    : QObject(parent), m_doc(doc), m_recent(recent), m_prompts(prompts)
{
    connect(&m_doc.GetUndoStack(), &QUndoStack::cleanChanged, this, [this] { emit captionChanged(GetCaption()); });
    connect(&m_reader, &CProjectReader::aboutToReplace, this, [this] {
        m_doc.EndGestures();
        // A run started while the project was being read ends before its
        // lines change: the open was asked for first.
        if (m_isRunActive && m_isRunActive()) m_stopRun();
    });
}

QString CDocManager::GetCaption() const
{
    return TitleOf(m_doc.GetDoc()) + (IsModified() ? QStringLiteral("*") : QString()) + QStringLiteral(" - Trevalin");
}

bool CDocManager::IsModified() const
{
    return !m_doc.GetUndoStack().isClean();
}

bool CDocManager::SaveModified()
{
    if (!IsModified()) return true;
    const QString title = TitleOf(m_doc.GetDoc());
    switch (m_prompts.AskSaveChanges(m_pDialogParent, SaveQuestion(title))) {
    case CUserPrompts::SaveAnswer::kSave:
        return OnFileSave();
    case CUserPrompts::SaveAnswer::kDiscard:
        return true;
    case CUserPrompts::SaveAnswer::kCancel:
        break;
    }
    return false;
}

bool CDocManager::MayReplace(const QString& question)
{
    m_doc.EndGestures();
    const auto running = [this] { return m_isRunActive && m_isRunActive(); };
    // The run goes on while the questions are open: it may end meanwhile.
    if (running() && !m_prompts.AskYesNo(m_pDialogParent, question)) return false;
    if (!SaveModified()) return false;
    // Its frames come from the document's lines: it ends before they change.
    if (running()) m_stopRun();
    return true;
}

void CDocManager::OnFileNew()
{
    if (!MayReplace(tr("正在生成渐变序列。停止它并新建项目吗?"))) return;
    m_doc.GetDoc().OnNewDocument();
    m_doc.GetUndoStack().clear();
    m_doc.SendInitialUpdate();
    emit captionChanged(GetCaption());
}

void CDocManager::OnFileOpen()
{
    const QString path = m_prompts.GetOpenFileName(m_pDialogParent, tr(kProjectFilter));
    if (!path.isEmpty()) OpenDocumentFile(path);
}

bool CDocManager::OpenDocumentFile(const QString& path)
{
    return DoOpen(path) == OpenResult::kOpened;
}

CDocManager::OpenResult CDocManager::DoOpen(const QString& path)
{
    if (m_reader.IsReading()) return OpenResult::kCancelled;
    const QString full = FullPath(path);
    CTrevalinDoc& doc = m_doc.GetDoc();
    const QString current = QFile::decodeName(QByteArray::fromStdString(doc.GetPathName()));
    if (!current.isEmpty() && FullPath(current) == full) {
        // Already open: edits made since stay, nothing is read.
        emit activateRequested();
        return OpenResult::kOpened;
    }
    if (!MayReplace(tr("正在生成渐变序列。停止它并打开另一个项目吗?"))) return OpenResult::kCancelled;
    const CDocStatus status = m_reader.Open(doc, QFile::encodeName(full).toStdString());
    if (!status.ok) {
        m_prompts.MessageBox(m_pDialogParent, FailureText(status), CUserPrompts::Icon::kWarning);
        return OpenResult::kFailed;
    }
    m_doc.GetUndoStack().clear();
    m_recent.Add(QFile::decodeName(QByteArray::fromStdString(doc.GetPathName())));
    CMessage optionsProblem;
    m_doc.SetMorphOptions(CMorphOptionsFile::Read(doc.GetPathName(), &optionsProblem));
    if (!optionsProblem.IsEmpty()) emit notice(CCoreText::Translate(optionsProblem));
    m_doc.SendInitialUpdate();
    emit captionChanged(GetCaption());
    if (!status.warning.IsEmpty())
        m_prompts.MessageBox(m_pDialogParent, CCoreText::Translate(status.warning), CUserPrompts::Icon::kWarning);
    return OpenResult::kOpened;
}

bool CDocManager::OnFileSave()
{
    const QString path = QFile::decodeName(QByteArray::fromStdString(m_doc.GetDoc().GetPathName()));
    if (path.isEmpty()) return OnFileSaveAs();
    return DoSave(path);
}

bool CDocManager::OnFileSaveAs()
{
    CTrevalinDoc& doc = m_doc.GetDoc();
    QString proposed = QFile::decodeName(QByteArray::fromStdString(doc.GetPathName()));
    if (proposed.isEmpty()) proposed = TitleOf(doc) + QStringLiteral(".") + kDefaultSuffix;
    const QString path = m_prompts.GetSaveFileName(m_pDialogParent, tr(kProjectFilter), kDefaultSuffix, proposed);
    if (path.isEmpty()) return false;
    return DoSave(FullPath(path));
}

bool CDocManager::DoSave(const QString& path)
{
    CTrevalinDoc& doc = m_doc.GetDoc();
    const CDocStatus status = doc.OnSaveDocument(QFile::encodeName(path).toStdString());
    if (!status.ok) {
        m_prompts.MessageBox(m_pDialogParent, FailureText(status), CUserPrompts::Icon::kWarning);
        return false;
    }
    m_doc.GetUndoStack().setClean();
    m_recent.Add(QFile::decodeName(QByteArray::fromStdString(doc.GetPathName())));
    emit captionChanged(GetCaption());
    // The morph options go beside the project; the project itself is saved
    // whether or not they can be.
    const CMessage optionsError = CMorphOptionsFile::Write(doc.GetPathName(), m_doc.GetMorphOptions());
    if (!optionsError.IsEmpty())
        m_prompts.MessageBox(m_pDialogParent, CCoreText::Translate(optionsError), CUserPrompts::Icon::kWarning);
    return true;
}

void CDocManager::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= m_recent.Entries().size()) return;
    const QString path = m_recent.Entries().at(index);
    if (DoOpen(path) == OpenResult::kFailed) m_recent.Remove(m_recent.Entries().indexOf(path));
}
