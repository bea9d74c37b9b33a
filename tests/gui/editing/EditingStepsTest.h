#pragma once

#include <QObject>

class EditingStepsTest : public QObject {
    Q_OBJECT

private slots:
    void drawAndHitTestAtFourHundredPercent();
    void wheelWithCtrlZoomsAboutThePointer();
    void directDragAndPointsBeforeSegments();
    void dragLeavesNoMarkerBehindAndStaysOnThePicture();
    void drawnMovedAndDeletedLinesUndoAndRedo();
    void differentSizeIsFittedWithItsLines();
    void segmentsPickedByDistanceAtFourHundredPercent();
    void classicSequenceWithoutDirectDrag();
    void endsSnapOntoOtherLinesPointsUnlessShift();
    void arrowsNudgeOneStepPerBurst();
    void tabStepsThroughLinePairs();
};
