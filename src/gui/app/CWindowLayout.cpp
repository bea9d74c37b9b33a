#include "CWindowLayout.h"

#include "CMorphConfigDlg.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "editing/CToolSwitcher.h"

#include <QDockWidget>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QSplitter>

namespace {

const QString kGeometryKey = QStringLiteral("MainFrame/Geometry");
const QString kStateKey = QStringLiteral("MainFrame/State");
const QString kSplitterKey = QStringLiteral("MainFrame/Splitter");
const QString kStepsKey = QStringLiteral("Morph/Steps");
const QString kToolKey = QStringLiteral("Editing/Tool");

} // namespace

CWindowLayout::CWindowLayout(QMainWindow& window, QSplitter& splitter, QDockWidget& panel, CMorphConfigDlg& config,
                             CToolSwitcher& tools, CDocController& doc)
    : QObject(&window), m_window(window), m_splitter(splitter), m_panel(panel), m_config(config), m_tools(tools),
      m_doc(doc)
{
    m_window.installEventFilter(this);
    connect(&m_doc, &CDocController::commandStateChanged, this, &CWindowLayout::ApplyTool);
}

QRect CWindowLayout::FirstGeometry(const QRect& available)
{
    QRect rect(0, 0, available.width() * 4 / 5, available.height() * 4 / 5);
    rect.moveCenter(available.center());
    return rect;
}

void CWindowLayout::Restore(QSettings& settings)
{
    const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
    m_firstStart = geometry.isEmpty() || !m_window.restoreGeometry(geometry);
    if (m_firstStart) {
        const QScreen* screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
        if (screen) m_window.setGeometry(FirstGeometry(screen->availableGeometry()));
    }
    const QByteArray state = settings.value(kStateKey).toByteArray();
    if (!state.isEmpty()) m_window.restoreState(state);
    const QByteArray split = settings.value(kSplitterKey).toByteArray();
    m_splitPending = split.isEmpty() || !m_splitter.restoreState(split);

    // A count the field no longer takes leaves its own.
    const QString steps = settings.value(kStepsKey).toString();
    if (!steps.isEmpty()) {
        const QString before = m_config.StepsEdit()->text();
        m_config.StepsEdit()->setText(steps);
        if (const int32_t n = m_config.PeekSteps())
            m_config.m_nSteps = n;
        else
            m_config.StepsEdit()->setText(before);
    }
    const QString tool = settings.value(kToolKey).toString();
    m_tool = tool == QLatin1String("draw")     ? Tool::kDraw
             : tool == QLatin1String("select") ? Tool::kSelect
                                               : Tool::kNone;
    ApplyTool();
}

void CWindowLayout::Save(QSettings& settings) const
{
    settings.setValue(kGeometryKey, m_window.saveGeometry());
    settings.setValue(kStateKey, m_window.saveState());
    settings.setValue(kSplitterKey, m_splitter.saveState());
    if (const int32_t steps = m_config.PeekSteps()) settings.setValue(kStepsKey, steps);
    // A run without pictures chose no tool: the last choice stays.
    if (m_tools.IsDrawToolChecked())
        settings.setValue(kToolKey, QStringLiteral("draw"));
    else if (m_tools.IsSelectToolChecked())
        settings.setValue(kToolKey, QStringLiteral("select"));
}

void CWindowLayout::ApplyTool()
{
    if (m_tool == Tool::kNone || m_tools.IsDrawToolChecked() || m_tools.IsSelectToolChecked()) return;
    const CTrevalinDoc& doc = m_doc.GetDoc();
    if (!doc.GetPicture(0)->IsLoaded() || !doc.GetPicture(1)->IsLoaded()) return;
    // Once: from here on the user's choice stands.
    const Tool tool = m_tool;
    m_tool = Tool::kNone;
    if (tool == Tool::kDraw)
        m_tools.OnToolDraw();
    else
        m_tools.OnToolSelect();
}

void CWindowLayout::FirstArrangement()
{
    if (m_firstStart && m_panel.isVisible() && !m_panel.isFloating())
        m_window.resizeDocks({&m_panel}, {m_window.width() / 4}, Qt::Horizontal);
    if (m_window.layout()) m_window.layout()->activate();
    if (m_splitPending) {
        const int width = m_splitter.width() - m_splitter.handleWidth();
        m_splitter.setSizes({width / 2, width - width / 2});
    }
    m_firstStart = false;
    m_splitPending = false;
}

bool CWindowLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window && event->type() == QEvent::Show && (m_firstStart || m_splitPending)) FirstArrangement();
    return QObject::eventFilter(watched, event);
}
