#pragma once

#include <QObject>

class ControlBarTest : public QObject {
    Q_OBJECT

private slots:
    void startUpValues();
    void controlsLeftToRight();
    void invalidStepsAreRefused_data();
    void invalidStepsAreRefused();
    void validStepsReachTheResultView_data();
    void validStepsReachTheResultView();
    void speedListSetsTheInterval();
};
