#pragma once

#include <QObject>

class ExportTest : public QObject {
    Q_OBJECT

private slots:
    void exportDialogDrivesARealExport();
    void morphOptionsKeptBesideTheProject();
    void dialogOffersOneSizeAndTellsTheLength();
    void curveMenusAndTheCustomCurveSetTheOptions();
    void sequenceOfProjectsExportsOneRunOfFrames();
};
