#include "CCompressionDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <algorithm>

CCompressionDialog::CCompressionDialog(const CCompressionOptions& options, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("视频压缩"));
    auto* layout = new QGridLayout(this);

    auto* codecLabel = new QLabel(tr("压缩程序(&C):"), this);
    m_pCodec = new QComboBox(this);
    m_pCodec->setObjectName(QStringLiteral("codec"));
    m_pCodec->addItem(tr("全帧(非压缩的)"), int(CCompressionOptions::kUncompressed));
    m_pCodec->addItem(QStringLiteral("Motion JPEG"), int(CCompressionOptions::kMotionJpeg));
    m_pCodec->setCurrentIndex(options.codec == CCompressionOptions::kMotionJpeg ? 1 : 0);
    codecLabel->setBuddy(m_pCodec);
    layout->addWidget(codecLabel, 0, 0);
    layout->addWidget(m_pCodec, 0, 1, 1, 2);

    m_pQualityLabel = new QLabel(tr("压缩质量(&Q):"), this);
    m_pQualitySlider = new QSlider(Qt::Horizontal, this);
    m_pQualitySlider->setRange(1, 100);
    m_pQuality = new QSpinBox(this);
    m_pQuality->setObjectName(QStringLiteral("quality"));
    m_pQuality->setRange(1, 100);
    m_pQualityLabel->setBuddy(m_pQualitySlider);
    connect(m_pQualitySlider, &QSlider::valueChanged, m_pQuality, &QSpinBox::setValue);
    connect(m_pQuality, &QSpinBox::valueChanged, m_pQualitySlider, &QSlider::setValue);
    m_pQuality->setValue(std::clamp(options.quality, 1, 100));
    layout->addWidget(m_pQualityLabel, 1, 0);
    layout->addWidget(m_pQualitySlider, 1, 1);
    layout->addWidget(m_pQuality, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons, 2, 0, 1, 3);

    connect(m_pCodec, &QComboBox::currentIndexChanged, this, &CCompressionDialog::UpdateQualityEnabled);
    UpdateQualityEnabled();
}

void CCompressionDialog::UpdateQualityEnabled()
{
    const bool jpeg = m_pCodec->currentData().toInt() == CCompressionOptions::kMotionJpeg;
    m_pQualityLabel->setEnabled(jpeg);
    m_pQualitySlider->setEnabled(jpeg);
    m_pQuality->setEnabled(jpeg);
}

CCompressionOptions CCompressionDialog::GetOptions() const
{
    CCompressionOptions options;
    options.codec = m_pCodec->currentData().toInt();
    options.quality = m_pQuality->value();
    return options;
}
