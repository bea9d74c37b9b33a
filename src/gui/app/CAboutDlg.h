#pragma once

#include <QDialog>

// The About box: the application icon, "Trevalin 1.0 版", a notice line and
// the 确定 button; closes with 确定, Escape or the close box.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
