#pragma once

#include <QPointer>
#include <QString>
#include <map>

class QAction;
class QObject;

// The main window's commands by id (Resource.h): every QAction made here or
// made elsewhere and registered, each with the status-bar text and the tool
// tip its prompt gives. Owned by the frame and handed to the command groups
// that make and use the commands.
class CActionRegistry {
public:
    // The actions made here are children of `owner`.
    explicit CActionRegistry(QObject& owner) : m_owner(owner) {}
    CActionRegistry(const CActionRegistry&) = delete;
    CActionRegistry& operator=(const CActionRegistry&) = delete;

    // Makes the command `id` with its menu text, tool-bar icon and prompt
    // (the status-bar text, a line break, the tool tip).
    QAction* MakeAction(int id, const QString& text, const QString& icon, const QString& prompt);
    // Registers an action made elsewhere as the command `id`.
    void RegisterAction(int id, QAction* action, const QString& prompt);
    // The command `id`; null when none was made, or it was deleted since.
    QAction* GetAction(int id) const;

private:
    QObject& m_owner;
    std::map<int, QPointer<QAction>> m_actions;
};
