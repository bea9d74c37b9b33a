#pragma once

#include <QObject>

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void toolBarHoldsFifteenButtonsInOrder();
    void promptsAreStatusTipsAndToolTips();
    void fileMenuItemsAndAccelerators();
    void statusBarPanes();
    void controlBarStaysAboveTheClient();
    void clientSwitchesBetweenPanesAndResult();
    void engineButtonsOnlyWhileResultShown();
    void toolButtonsCheckTheChosenTool();
    void aboutBox();
    void editingMenusAndKeys();
    void panesHoldTheEditKeysFromStartUp();
};
