#include "CSequenceDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CSequenceDlg::CSequenceDlg(const QString& openTitle, const QString& startFolder, QWidget* parent)
    : QDialog(parent), m_startFolder(startFolder)
{
    setWindowTitle(tr("导出序列"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("按顺序列出要连接的项目,每个变形接着上一个:"), this));
    auto* row = new QHBoxLayout;
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("projects"));
    auto* open = new QListWidgetItem(tr("%1 (当前项目)").arg(openTitle), m_pList);
    open->setData(Qt::UserRole, QString());
    m_pList->setCurrentRow(0);
    row->addWidget(m_pList, 1);
    auto* buttons = new QVBoxLayout;
    const std::pair<const char*, QString> items[] = {
        {"add", tr("添加(&A)...")}, {"remove", tr("移除(&R)")}, {"up", tr("上移(&U)")}, {"down", tr("下移(&D)")}};
    for (const auto& [name, text] : items) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    row->addLayout(buttons);
    layout->addLayout(row);

    auto* fitRow = new QHBoxLayout;
    fitRow->addWidget(new QLabel(tr("大小不同的图像:"), this));
    m_pFit = new QComboBox(this);
    m_pFit->addItem(tr("缩放并留边"), static_cast<int>(FitMode::kPad));
    m_pFit->addItem(tr("缩放并裁剪"), static_cast<int>(FitMode::kCrop));
    m_pFit->addItem(tr("拉伸"), static_cast<int>(FitMode::kStretch));
    m_pFit->setToolTip(tr("其他项目的图像与第一个项目的源图像大小不同时,这样调整到它的大小。"));
    fitRow->addWidget(m_pFit, 1);
    layout->addLayout(fitRow);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(tr("下一步(&N)"));
    box->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);

    connect(Button("add"), &QPushButton::clicked, this, &CSequenceDlg::OnAdd);
    connect(Button("remove"), &QPushButton::clicked, this, [this] {
        delete m_pList->takeItem(m_pList->currentRow());
        UpdateButtons();
    });
    connect(Button("up"), &QPushButton::clicked, this, [this] { Move(-1); });
    connect(Button("down"), &QPushButton::clicked, this, [this] { Move(1); });
    connect(m_pList, &QListWidget::currentRowChanged, this, &CSequenceDlg::UpdateButtons);
    resize(480, 320);
    UpdateButtons();
}

QPushButton* CSequenceDlg::Button(const char* name) const
{
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

QStringList CSequenceDlg::Projects() const
{
    QStringList projects;
    for (int i = 0; i < m_pList->count(); ++i)
        projects << m_pList->item(i)->data(Qt::UserRole).toString();
    return projects;
}

FitMode CSequenceDlg::Fit() const
{
    return static_cast<FitMode>(m_pFit->currentData().toInt());
}

void CSequenceDlg::AddProjects(const QStringList& paths)
{
    for (const QString& path : paths) {
        auto* item = new QListWidgetItem(QFileInfo(path).fileName(), m_pList);
        item->setData(Qt::UserRole, path);
        item->setToolTip(path);
        m_pList->setCurrentItem(item);
    }
    UpdateButtons();
}

void CSequenceDlg::OnAdd()
{
    const QStringList paths =
        QFileDialog::getOpenFileNames(this, tr("添加(&A)..."), m_startFolder, tr("tvl 文件(*.tvl) (*.tvl)"));
    if (!paths.isEmpty()) m_startFolder = QFileInfo(paths.constLast()).absolutePath();
    AddProjects(paths);
}

void CSequenceDlg::Move(int by)
{
    const int from = m_pList->currentRow();
    const int to = from + by;
    if (from < 0 || to < 0 || to >= m_pList->count()) return;
    QListWidgetItem* item = m_pList->takeItem(from);
    m_pList->insertItem(to, item);
    m_pList->setCurrentRow(to);
}

void CSequenceDlg::UpdateButtons()
{
    const int at = m_pList->currentRow();
    Button("remove")->setEnabled(at >= 0);
    Button("up")->setEnabled(at > 0);
    Button("down")->setEnabled(at >= 0 && at + 1 < m_pList->count());
    if (auto* box = findChild<QDialogButtonBox*>()) box->button(QDialogButtonBox::Ok)->setEnabled(m_pList->count() > 0);
}
