#include "CRecentFileList.h"

#include <QSettings>

namespace {
const QString kSection = QStringLiteral("Recent File List");

QString EntryKey(int i)
{
    return kSection + QStringLiteral("/File%1").arg(i + 1);
}
} // namespace

CRecentFileList::CRecentFileList(QSettings& settings, int nSize, QObject* parent)
    : QObject(parent), m_settings(settings), m_nSize(nSize)
{
}

void CRecentFileList::ReadList()
{
    m_entries.clear();
    for (int i = 0; i < m_nSize; ++i) {
        const QString path = m_settings.value(EntryKey(i)).toString();
        if (!path.isEmpty() && !m_entries.contains(path)) m_entries.append(path);
    }
    emit changed();
}

void CRecentFileList::WriteList()
{
    for (int i = 0; i < m_nSize; ++i) {
        if (i < m_entries.size())
            m_settings.setValue(EntryKey(i), m_entries.at(i));
        else
            m_settings.remove(EntryKey(i));
    }
    m_settings.sync();
}

void CRecentFileList::Add(const QString& path)
{
    if (path.isEmpty()) return;
    m_entries.removeAll(path);
    m_entries.prepend(path);
    while (m_entries.size() > m_nSize)
        m_entries.removeLast();
    WriteList();
    emit changed();
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || index >= m_entries.size()) return;
    m_entries.removeAt(index);
    WriteList();
    emit changed();
}
