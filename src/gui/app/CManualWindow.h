#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

// 帮助 → 用户手册 inside the program: the Markdown manual rendered with its
// pictures (looked up beside the manual), its links to other sections
// followed in place and links to the web opened by the desktop. A window
// of its own beside the main window, not modal.
class CManualWindow : public QDialog {
    Q_OBJECT

public:
    explicit CManualWindow(QWidget* parent = nullptr);

    // Shows the manual at `path` from its start; false when it cannot be
    // read.
    bool Open(const QString& path);
    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    // A link to "#section": the heading whose words it names.
    void ScrollToSection(const QString& name);

    QTextBrowser* m_pBrowser;
};
