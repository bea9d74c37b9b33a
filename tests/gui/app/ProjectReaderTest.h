#pragma once

#include <QObject>

class ProjectReaderTest : public QObject {
    Q_OBJECT

private slots:
    void readsWhileTheEventLoopRunsAndGivesTheSameDocument();
    void failedReadLeavesTheDocumentWhole();
};
