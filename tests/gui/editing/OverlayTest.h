#pragma once

#include <QObject>

class OverlayTest : public QObject {
    Q_OBJECT

private slots:
    void markerCoversFourByFourPixels();
    void selectionAndHoverColours();
    void segmentsAreDrawnOverMarkers();
    void segmentStopsBeforeItsEndPoint();
    void segmentDrawsItsStartInEveryDirection();
    void markersAndLabelsKeepTheirSizeWhenZoomed();
    void labelStaysInItsRectangle();
    void emptyLineDrawsNothing();
    void onlyTheRequestedImageIsDrawn();
    void paintThroughTheGridMatchesTheFullPaint();
    void crowdIsDrawnAsOneImage();
};
