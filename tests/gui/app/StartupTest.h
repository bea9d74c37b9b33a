#pragma once

#include <QObject>

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void commandLineNamesOneProject();
    void startsUntitledWithoutArguments();
    void opensProjectFromCommandLine();
    void projectAtStartUpScrollsByTheShownPane();
    void unreadableProjectEndsStartUp();
    void recentFilesSurviveRestart();
    void reopeningOpenProjectReadsNothing();
    void saveAsNewAndSave();
    void failedOpenKeepsTheProject();
    void changesAreNotLostWithoutAsking();
    void droppedFilesOpen();
    void missingPictureLeavesItsPaneEmptyAndKeepsItsName();
    void switchWorksInTheProjectsFolder();
};
