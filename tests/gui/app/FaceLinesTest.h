#pragma once

#include <QObject>

class FaceLinesTest : public QObject {
    Q_OBJECT

private slots:
    void noFaceNamesThePictureAndChangesNothing();
    void escCancelsTheSearch();
    void faceLinesAreOneUndoStep();
};
