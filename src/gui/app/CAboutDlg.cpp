#include "CAboutDlg.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("关于 Trevalin"));
    auto* layout = new QGridLayout(this);

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/trevalin-32.png")).pixmap(32, 32));
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);

    auto* version = new QLabel(tr("Trevalin 1.0 版"), this);
    version->setObjectName(QStringLiteral("version"));
    version->setTextFormat(Qt::PlainText);
    layout->addWidget(version, 0, 1);
    auto* notice = new QLabel(tr("沿对应特征线把一幅图像渐变为另一幅。"), this);
    notice->setTextFormat(Qt::PlainText);
    layout->addWidget(notice, 1, 1);

    auto* ok = new QPushButton(tr("确定"), this);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setColumnStretch(1, 1);
    setModal(true);
}
