#pragma once

#include <QObject>

class RunTest : public QObject {
    Q_OBJECT

private slots:
    void twoStepRunWritesFramesAndVideo();
    void pauseThenStartContinuesFromPausedFrame();
    void stopRewindsAndTellsWhereTheVideoWent();
    void runGoesOnWhileThePanesAreShown();
    void cancelledVideoStillWritesFrames();
    void writeFailureToldOnceWithTimerHeld();
    void incompatiblePicturesStartNothing();
    void labelOnScreenOnly();
    void framesAreMadeOffTheInterfaceThreadAndPauseOrStopAbandonThem();
    void aSecondRunInTheFolderIsRefused();
    void openingAProjectDuringARunAsksAndStopsItFirst();
    void newDuringAPausedRunAsksAndStopsIt();
    void openingAPictureEndsTheRun();
};
