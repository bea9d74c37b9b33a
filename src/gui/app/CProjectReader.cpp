#include "CProjectReader.h"

#include "document/CTrevalinDoc.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

#include <memory>
#include <thread>

CDocStatus CProjectReader::Open(CTrevalinDoc& doc, const std::string& path)
{
    // The fresh document reads with the same working folder and decoder.
    auto read = std::make_unique<CTrevalinDoc>(doc.GetWorkDir(), doc.GetPicture(0)->GetDecoder());
    CDocStatus status;
    QEventLoop loop;
    m_bReading = true;
    std::thread worker([&read, &status, &loop, path] {
        status = read->OnOpenDocument(path);
        // By name: a functor's slot object would be released on this thread
        // while the window's thread still reads it, a count kept inside Qt
        // that the thread checker cannot follow.
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    std::unique_ptr<QProgressDialog> busy;
    QTimer later;
    later.setSingleShot(true);
    connect(&later, &QTimer::timeout, this, [this, &busy, &path] {
        if (m_pDialogParent == nullptr) return;
        const QString name = QFileInfo(QString::fromStdString(path)).fileName();
        busy = std::make_unique<QProgressDialog>(tr("正在打开 %1……").arg(name), QString(), 0, 0, m_pDialogParent);
        busy->setWindowTitle(QStringLiteral("Trevalin"));
        busy->setCancelButton(nullptr);
        busy->setMinimumDuration(0);
        busy->setWindowModality(Qt::NonModal);
        busy->show();
    });
    later.start(kBusyDelayMs);
    loop.exec();
    // The loop may also end because the application is quitting: the read
    // is waited for either way.
    worker.join();
    later.stop();
    busy.reset();
    m_bReading = false;
    if (status.ok) {
        emit aboutToReplace();
        doc.TakeContentFrom(*read);
    }
    return status;
}
