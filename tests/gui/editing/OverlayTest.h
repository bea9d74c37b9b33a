#pragma once

#include <QObject>

class OverlayTest : public QObject {
    Q_OBJECT

private slots:
    void markerCoversFourByFourPixels();
    void selectionAndHoverColours();
    void segmentsAreDrawnOverMarkers();
    void segmentStopsBeforeItsEndPoint();
    void labelStaysInItsRectangle();
    void emptyLineDrawsNothing();
    void onlyTheRequestedImageIsDrawn();
};
