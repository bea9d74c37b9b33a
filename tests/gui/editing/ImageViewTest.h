#pragma once

#include <QObject>

class ImageViewTest : public QObject {
    Q_OBJECT

private slots:
    void panesNumberThemselvesInConstructionOrder();
    void scrollSizesFollowThePicture();
    void drawLinePairInScrolledPane();
    void drawAbandonedWithRightButton();
    void captureBringsMovesOverOtherWidgets();
    void selectThenDragPoint();
    void dragSegmentMovesBothEnds();
    void pressOnEmptySpaceDeselects();
    void toolCommandsNeedBothPictures();
    void toolCommandsGiveFreshTools();
    void contextMenuOpensImageIntoImagesFolder();
    void pictureFromImagesFolderLoadsAsItStands();
    void undecodablePictureChangesNothing();
    void onlyDefaultToolHasContextMenu();
};
