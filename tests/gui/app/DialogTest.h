#pragma once

#include <QObject>

class DialogTest : public QObject {
    Q_OBJECT

private slots:
    void compressionDialogKeepsAndReturnsTheChoice();
    void compressionDialogCancel();
};
