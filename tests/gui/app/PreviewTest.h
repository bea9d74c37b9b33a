#pragma once

#include <QObject>

class PreviewTest : public QObject {
    Q_OBJECT

private slots:
    void previewFollowsADragAndEqualsTheRunsFrame();
    void userInterfaceStaysFreeWhileThePreviewComputes();
    void stepsAndKeysChooseTheFrame();
    void runShowsProgressAndEscapeStopsIt();
    void zoomCommandsReachTheFrames();
    void onionSkinAndPanelPlaceAreKept();
};
