#include "CMorphConfigDlg.h"

#include "editing/CUserPrompts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <climits>
#include <cstdlib>
#include <optional>

namespace {

// The decimal integer in `text`: optional blanks, an optional sign, digits,
// optional blanks, nothing else. One beyond 32 bits is still an integer (out
// of any range the field allows) and comes back as the nearest 32-bit value.
std::optional<int32_t> ScanInteger(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const char* p = bytes.constData();
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '\0') return std::nullopt;
    char* end = nullptr;
    const long value = std::strtol(p, &end, 10);
    if (end == p) return std::nullopt;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0') return std::nullopt;
    if (value < INT32_MIN) return INT32_MIN;
    if (value > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(value);
}

} // namespace

CMorphConfigDlg::CMorphConfigDlg(CUserPrompts& prompts, QWidget* parent) : QWidget(parent), m_prompts(prompts)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);

    auto* stepsLabel = new QLabel(tr("中间步数："), this);
    m_pSteps = new QLineEdit(this);
    m_pSteps->setObjectName(QStringLiteral("IDC_STEPS"));
    m_pSteps->setFixedWidth(48);
    auto* speedLabel = new QLabel(tr("速度："), this);
    m_pSpeed = new QComboBox(this);
    m_pSpeed->setObjectName(QStringLiteral("IDC_SPEED"));
    m_pSpeed->addItems({tr("快"), tr("中"), tr("慢")});
    m_pSpeed->setCurrentIndex(-1);
    auto* start = new QPushButton(tr("开始"), this);
    start->setObjectName(QStringLiteral("IDC_START"));
    auto* pause = new QPushButton(tr("暂停"), this);
    pause->setObjectName(QStringLiteral("IDC_PAUSE"));
    auto* stop = new QPushButton(tr("停止"), this);
    stop->setObjectName(QStringLiteral("IDC_STOP"));
    for (QPushButton* button : {start, pause, stop})
        button->setAutoDefault(false);

    // Left to right: steps, speed, Start, Pause, Stop.
    layout->addWidget(stepsLabel);
    layout->addWidget(m_pSteps);
    layout->addSpacing(12);
    layout->addWidget(speedLabel);
    layout->addWidget(m_pSpeed);
    layout->addSpacing(12);
    layout->addWidget(start);
    layout->addWidget(pause);
    layout->addWidget(stop);
    layout->addStretch(1);

    // Tab order: steps, Start, Stop, speed, Pause.
    setTabOrder(m_pSteps, start);
    setTabOrder(start, stop);
    setTabOrder(stop, m_pSpeed);
    setTabOrder(m_pSpeed, pause);

    connect(start, &QPushButton::clicked, this, &CMorphConfigDlg::OnStart);
    connect(pause, &QPushButton::clicked, this, &CMorphConfigDlg::OnPause);
    connect(stop, &QPushButton::clicked, this, &CMorphConfigDlg::OnStop);
    connect(m_pSteps, &QLineEdit::textChanged, this, [this] {
        const int32_t n = PeekSteps();
        if (n) emit stepsEdited(n);
        emit stepsValidityChanged(n != 0);
    });

    // The dialog's data goes into its controls when it is made.
    m_pSteps->setText(QString::number(m_nSteps));
}

bool CMorphConfigDlg::DoDataExchange()
{
    const std::optional<int32_t> value = ScanInteger(m_pSteps->text());
    if (!value) {
        m_prompts.MessageBox(this, tr("请键入一个整数。"), CUserPrompts::Icon::kWarning);
    } else {
        m_nSteps = *value;
        if (m_nSteps >= 1 && m_nSteps <= 100) return true;
        m_prompts.MessageBox(this, tr("“请填入一个在%1和%2之间的整数。”").arg(1).arg(100),
                             CUserPrompts::Icon::kWarning);
    }
    m_pSteps->setFocus(Qt::OtherFocusReason);
    m_pSteps->selectAll();
    return false;
}

int32_t CMorphConfigDlg::GetInterval() const
{
    switch (m_pSpeed->currentIndex()) {
    case 0:
        return 50;
    case 2:
        return 250;
    default:
        return 100;
    }
}

int32_t CMorphConfigDlg::PeekSteps() const
{
    const std::optional<int32_t> value = ScanInteger(m_pSteps->text());
    return value && *value >= 1 && *value <= 100 ? *value : 0;
}

void CMorphConfigDlg::OnStart()
{
    if (!DoDataExchange()) return;
    emit morphStart();
}

void CMorphConfigDlg::OnPause()
{
    emit morphPause();
}

void CMorphConfigDlg::OnStop()
{
    emit morphStop();
}
