#pragma once

#include <QDialog>
#include <QHash>
#include <QSize>
#include <QString>

class QTextBrowser;

// 帮助 → 用户手册 inside the program: the Markdown manual rendered with its
// pictures (looked up beside the manual, made smaller where the window is
// narrower than they are), its links to other sections
// followed in place and links to the web opened by the desktop. A window
// of its own beside the main window, not modal.
class CManualWindow : public QDialog {
    Q_OBJECT

public:
    explicit CManualWindow(QWidget* parent = nullptr);

    // Shows the manual at `path` from its start; false when it cannot be
    // read.
    bool Open(const QString& path);
    QTextBrowser* Browser() const { return m_browser; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every picture at its own width, or at the width of the text where that
    // is less.
    void FitPictures();
    // A link to "#section": the heading whose words it names.
    void ScrollToSection(const QString& name);

    QTextBrowser* m_browser;
    QHash<QString, QSize> m_pictureSizes; // as the files have them
};
