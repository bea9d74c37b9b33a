#include "CActionRegistry.h"

#include <QAction>
#include <QIcon>

QAction* CActionRegistry::MakeAction(int id, const QString& text, const QString& icon, const QString& prompt)
{
    auto* action = new QAction(text, &m_owner);
    if (!icon.isEmpty()) action->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(icon)));
    RegisterAction(id, action, prompt);
    return action;
}

void CActionRegistry::RegisterAction(int id, QAction* action, const QString& prompt)
{
    action->setObjectName(QStringLiteral("ID_%1").arg(id));
    action->setData(id);
    // A prompt is the status-bar text, a line break, then the tool tip.
    const qsizetype split = prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(split < 0 ? prompt : prompt.left(split));
    action->setToolTip(split < 0 ? QString() : prompt.mid(split + 1));
    m_actions[id] = action;
}

QAction* CActionRegistry::GetAction(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second.data();
}
