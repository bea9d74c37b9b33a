#pragma once

#include "geometry/CFitTransform.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QListWidget;
class QPushButton;

// 文件 → 导出序列…: the projects whose morphs make one video, in order, the
// open project first; 添加… adds project files, 移除, 上移 and 下移 edit the
// list; 大小不同的图像 says how pictures of another size than the first
// project's source are brought to it; 下一步 goes on to the export dialog.
class CSequenceDlg : public QDialog {
    Q_OBJECT

public:
    // `openTitle`: how the open project is named in the list.
    CSequenceDlg(const QString& openTitle, const QString& startFolder, QWidget* parent = nullptr);

    // The projects in order: a path, or an empty string for the open project.
    QStringList Projects() const;
    void AddProjects(const QStringList& paths);
    FitMode Fit() const;

    QComboBox* FitList() const { return m_pFit; }

    QListWidget* List() const { return m_pList; }
    QPushButton* Button(const char* name) const;

private:
    void OnAdd();
    void Move(int by);
    void UpdateButtons();

    QString m_startFolder;
    QListWidget* m_pList;
    QComboBox* m_pFit;
};
