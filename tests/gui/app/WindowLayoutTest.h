#pragma once

#include <QObject>

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartFillsFourFifthsWithEvenPanes();
    void layoutStepsAndToolComeBackAtTheNextStart();
    void panesScrollTogetherUntilTurnedOff();
    void picturesFitWhenOpenedUntilTheUserZooms();
    void previewHasItsOwnScale();
};
