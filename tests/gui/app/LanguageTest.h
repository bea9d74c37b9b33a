#pragma once

#include <QObject>

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void choosesFromCommandLineThenSettings_data();
    void choosesFromCommandLineThenSettings();
    void englishInterface();
    void coreTextsInEnglish_data();
    void coreTextsInEnglish();
    void languageMenuRemembersTheChoice();
    void helpMenuHoldsManualAndAbout();
};
