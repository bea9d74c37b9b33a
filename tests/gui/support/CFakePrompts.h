#pragma once

#include "editing/CUserPrompts.h"

#include <QMenu>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// Scripted prompts for the GUI tests: records every message and dialog,
// answers file and folder dialogs from a queue, picks menu items by text,
// accepts or cancels the compression dialog as told and plays the export
// dialog through a hook. Nothing ever blocks.
class CFakePrompts : public CUserPrompts {
public:
    struct Message {
        QString text;
        Icon icon;
    };

    void MessageBox(QWidget*, const QString& text, Icon icon) override
    {
        messages.push_back({text, icon});
        if (onMessage) onMessage(text);
    }
    QString GetOpenFileName(QWidget*, const QString& filter) override
    {
        openFilters << filter;
        return Next();
    }
    QString GetSaveFileName(QWidget*, const QString& filter, const QString& suffix, const QString& proposed) override
    {
        saveFilters << filter;
        saveSuffixes << suffix;
        proposedNames << proposed;
        return Next();
    }
    void TrackPopupMenu(QMenu& menu, const QPoint& globalPos) override
    {
        menuPositions.push_back(globalPos);
        QStringList items;
        for (QAction* action : menu.actions())
            items << action->text();
        menuItems.push_back(items);
        for (QAction* action : menu.actions()) {
            if (!menuChoice.isEmpty() && action->text() == menuChoice) {
                action->trigger();
                break;
            }
        }
    }
    bool ChooseCompression(QWidget*, CCompressionOptions& options) override
    {
        ++compressionDialogs;
        if (!acceptCompression) return false;
        options = compression;
        return true;
    }
    void ShowAbout(QWidget*) override { ++aboutBoxes; }
    SaveAnswer AskSaveChanges(QWidget*, const QString& text) override
    {
        saveQuestions << text;
        if (saveAnswers.empty()) return SaveAnswer::kDiscard;
        const SaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    bool AskYesNo(QWidget*, const QString& text) override
    {
        yesNoQuestions << text;
        if (yesNoAnswers.empty()) return true;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    FitAnswer ChooseFit(QWidget*, const QString& text) override
    {
        fitQuestions << text;
        if (fitAnswers.empty()) return FitAnswer::kKeep;
        const FitAnswer answer = fitAnswers.front();
        fitAnswers.pop_front();
        return answer;
    }
    bool ChooseExport(QWidget* parent, CExportSettings& settings, int32_t pictureWidth, int32_t pictureHeight,
                      int32_t morphs) override
    {
        offeredExports.push_back(settings);
        offeredMorphs.push_back(morphs);
        return onExport && onExport(parent, settings, pictureWidth, pictureHeight);
    }
    QString GetExistingDirectory(QWidget*, const QString& start) override
    {
        directoryStarts << start;
        return Next();
    }

    QStringList Texts() const
    {
        QStringList texts;
        for (const Message& m : messages)
            texts << m.text;
        return texts;
    }

    // Answers of the next file dialogs; an empty string cancels.
    std::deque<QString> fileAnswers;
    QString menuChoice;
    bool acceptCompression = true;
    CCompressionOptions compression;
    std::function<void(const QString&)> onMessage;
    // Answers of the next save and fit questions: without one, 不保存 and
    // 保持原样.
    std::deque<SaveAnswer> saveAnswers;
    std::deque<FitAnswer> fitAnswers;
    // Answers of the next 是/否 questions: without one, 是.
    std::deque<bool> yesNoAnswers;
    // Plays the export dialog: changes the settings and accepts (true) or
    // cancels; without it every export is cancelled.
    std::function<bool(QWidget*, CExportSettings&, int32_t, int32_t)> onExport;

    std::vector<Message> messages;
    QStringList openFilters;
    QStringList saveFilters;
    QStringList saveSuffixes;
    QStringList proposedNames;
    std::vector<QPoint> menuPositions;
    std::vector<QStringList> menuItems;
    QStringList saveQuestions;
    QStringList fitQuestions;
    QStringList yesNoQuestions;
    int compressionDialogs = 0;
    int aboutBoxes = 0;
    std::vector<CExportSettings> offeredExports;
    std::vector<int32_t> offeredMorphs; // the morphs of each export offered
    QStringList directoryStarts;

private:
    QString Next()
    {
        if (fileAnswers.empty()) return {};
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};
