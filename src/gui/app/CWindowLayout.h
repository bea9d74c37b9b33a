#pragma once

#include <QObject>
#include <QRect>

class CDocController;
class CMorphConfigDlg;
class CToolSwitcher;
class QDockWidget;
class QMainWindow;
class QSettings;
class QSplitter;

// The main window's arrangement across runs, kept in the settings: the
// window's place and size ("MainFrame/Geometry"), the bars and the preview
// panel's place, size and visibility ("MainFrame/State"), the split between
// the image panes ("MainFrame/Splitter"), the control bar's step count
// ("Morph/Steps") and the editing tool last chosen ("Editing/Tool": draw or
// select, put into the panes once both pictures are there). A first start
// opens the window at four fifths of the screen's free area, centred, with
// the panel a quarter of its width at the right and the panes sharing the
// rest evenly.
class CWindowLayout : public QObject {
    Q_OBJECT

public:
    CWindowLayout(QMainWindow& window, QSplitter& splitter, QDockWidget& panel, CMorphConfigDlg& config,
                  CToolSwitcher& tools, CDocController& doc);

    // Before the window is shown.
    void Restore(QSettings& settings);
    void Save(QSettings& settings) const;

    // The first start's window: four fifths of `available`, centred.
    static QRect FirstGeometry(const QRect& available);

    enum class Tool { kNone, kDraw, kSelect };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The remembered tool, once both pictures are there and none is chosen.
    void ApplyTool();
    // The panel at its first width, the panes half and half.
    void FirstArrangement();

    QMainWindow& m_window;
    QSplitter& m_splitter;
    QDockWidget& m_panel;
    CMorphConfigDlg& m_config;
    CToolSwitcher& m_tools;
    CDocController& m_doc;
    Tool m_tool = Tool::kNone;
    bool m_firstStart = false; // no window state was kept
    bool m_splitPending = true;
};
