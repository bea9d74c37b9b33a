#include "CFaceCommands.h"

#include "CActionRegistry.h"
#include "Resource.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "editing/CUserPrompts.h"
#include "editing/undo/CAddLinePairsCommand.h"
#include "editing/undo/CUndoStepTexts.h"
#include "faces/CFaceMessages.h"
#include "faces/CFaceModule.h"
#include "language/CCoreText.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QStatusBar>
#include <QThread>
#include <QUndoStack>

CFaceCommands::CFaceCommands(CActionRegistry& actions, CDocController& doc, CUserPrompts& prompts,
                             QStatusBar& statusBar, QWidget& window, QObject* parent)
    : QObject(parent), m_actions(actions), m_doc(doc), m_prompts(prompts), m_statusBar(statusBar), m_window(window)
{
}

CFaceCommands::~CFaceCommands()
{
    if (m_thread != nullptr) {
        m_cancel.Cancel();
        m_thread->wait();
        QApplication::restoreOverrideCursor();
        qApp->removeEventFilter(this);
    }
}

void CFaceCommands::AddImageItems(QMenu& menu)
{
    QAction* face = m_actions.MakeAction(
        ID_IMAGE_AUTO_FACE, tr("自动人脸特征线(&F)\tCtrl+Shift+F"), QString(),
        tr("在两幅图像中各找出最大的一张人脸，按脸部轮廓、眉、眼、鼻、唇和图像边缘添加成对的特征线\n自动人脸特征线"));
    face->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    connect(face, &QAction::triggered, this, &CFaceCommands::OnAutoFace);
    menu.addSeparator();
    menu.addAction(face);
    UpdateCommandUI();
}

void CFaceCommands::SetInputsShown(bool shown)
{
    m_inputsShown = shown;
    UpdateCommandUI();
}

void CFaceCommands::UpdateCommandUI()
{
    if (QAction* face = m_actions.GetAction(ID_IMAGE_AUTO_FACE)) face->setEnabled(m_inputsShown && !IsBusy());
}

void CFaceCommands::OnAutoFace()
{
    if (IsBusy()) return;
    CTrevalinDoc& doc = m_doc.GetDoc();
    for (int image : {0, 1}) {
        m_pictures[static_cast<size_t>(image)] = doc.GetPicture(image)->GetSharedImage();
        if (m_pictures[static_cast<size_t>(image)] == nullptr) {
            m_prompts.MessageBox(&m_window, CCoreText::Translate(CFaceMessages::NoPicture(image)),
                                 CUserPrompts::Icon::kWarning);
            return;
        }
    }
    const CCancelToken::Ticket ticket = m_cancel.Issue();
    m_thread = QThread::create([this, ticket] {
        m_outcome = CFaceJob::Outcome();
        if (m_finder == nullptr) m_finder = CFaceModule::MakeFinder(m_finderError);
        if (m_finder == nullptr) {
            m_outcome.error = m_finderError;
            return;
        }
        m_outcome = CFaceJob::Run(*m_finder, m_pictures, ticket);
    });
    connect(m_thread, &QThread::finished, this, &CFaceCommands::OnFinished);
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_statusBar.showMessage(tr("正在查找人脸… 按 Esc 取消"));
    UpdateCommandUI();
    m_thread->start();
}

void CFaceCommands::Cancel()
{
    if (IsBusy()) m_cancel.Cancel();
}

bool CFaceCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && IsBusy()) {
        Cancel();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CFaceCommands::OnFinished()
{
    m_thread->deleteLater();
    m_thread = nullptr;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    UpdateCommandUI();

    const CFaceJob::Outcome outcome = std::move(m_outcome);
    m_outcome = CFaceJob::Outcome();
    // The pictures searched must still be the document's.
    bool same = true;
    for (int image : {0, 1})
        same = same && m_doc.GetDoc().GetPicture(image)->GetSharedImage() == m_pictures[static_cast<size_t>(image)];
    m_pictures = {};

    if (outcome.cancelled || !same) {
        m_statusBar.showMessage(tr("已取消查找人脸"), 5000);
    } else if (!outcome.error.IsEmpty()) {
        m_statusBar.clearMessage();
        m_prompts.MessageBox(&m_window, CCoreText::Translate(outcome.error), CUserPrompts::Icon::kWarning);
    } else if (outcome.HasLines()) {
        const int32_t count = static_cast<int32_t>(outcome.lines[0].size());
        m_doc.GetUndoStack().push(new CAddLinePairsCommand(m_doc.GetDoc(), m_doc.GetChangeSignals(),
                                                           CUndoStepTexts::AddFaceLines(), outcome.lines));
        CMessage text = CFaceMessages::LinesAdded(count);
        if (!outcome.note.IsEmpty()) text.Append(CMessage::Plain(" ")).Append(outcome.note);
        m_statusBar.showMessage(CCoreText::Translate(text), 10000);
    }
    emit finished();
}
