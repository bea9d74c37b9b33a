#pragma once

#include "gui/support/CFakePrompts.h"
#include "support/CTempDir.h"

#include <QPoint>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <memory>
#include <string>

class CDocController;
class CMainFrame;
class CTrevalinApp;
class CTrevalinView;

// A whole application over a fresh working folder (with images/,
// ouput_image/ and output_video/) and settings in a temporary INI file.
// `settingsFile` may name the file of an earlier rig to share its settings.
class CAppRig {
public:
    explicit CAppRig(const QString& settingsFile = QString());
    ~CAppRig();

    // Start-up with these arguments; returns InitInstance's result.
    bool Start(const QStringList& arguments = {});
    // Ends the application the way the program does at exit.
    void Quit();

    // Writes a picture into the working folder's images/ and loads it into
    // the document's picture `index`, then updates the views.
    void LoadPicture(int index, const std::string& name, int width, int height, const QColor& colour);
    // Writes a project file at `path` naming the two pictures of images/,
    // with one line pair.
    QString WriteProject(const std::filesystem::path& path, const std::string& source, const std::string& target,
                         int x0, int y0, int x1, int y1);

    // Draws a line pair with the mouse in pane `column` (the draw tool must
    // be chosen): click at `from`, move to `to`, click there.
    void DrawLine(int column, QPoint from, QPoint to);
    // Shows the frame as the active window, so that its keys work.
    bool Activate();

    CMainFrame& Frame() const;
    CTrevalinView& ResultView() const;
    CDocController& Doc() const;
    std::string Work(const std::string& relative) const { return (dir / relative).string(); }

    CTempDir dir;
    CTempDir settingsDir;
    QString settingsPath;
    CFakePrompts prompts;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<CTrevalinApp> app;
};
