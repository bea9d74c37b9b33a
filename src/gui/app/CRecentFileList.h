#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QSettings;

// The recent-file list: up to a fixed number of project paths, newest first,
// kept in the settings as "Recent File List/File1" .. "FileN". Every change
// is written back at once, so the list survives however the program ends.
class CRecentFileList : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultSize = 4;

    CRecentFileList(QSettings& settings, int nSize = kDefaultSize, QObject* parent = nullptr);

    // Reads the entries from the settings.
    void ReadList();
    // Writes the entries to the settings (and removes stale ones).
    void WriteList();

    // Puts `path` at the top, dropping an older copy of it and the oldest
    // entry beyond the list's size.
    void Add(const QString& path);
    void Remove(int index);
    int GetSize() const { return m_nSize; }
    const QStringList& Entries() const { return m_entries; }

signals:
    void changed();

private:
    QSettings& m_settings;
    int m_nSize;
    QStringList m_entries;
};
