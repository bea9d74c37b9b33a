#include "CExportDlg.h"

#include "language/CCoreText.h"
#include "editing/CUserPrompts.h"
#include "export/CExportSequence.h"
#include "export/CVideoSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Frames = CExportSettings::Frames;
using Video = CExportSettings::Video;

QSpinBox* Spin(QWidget* parent, const char* name, int lo, int hi, int value, const QString& suffix = QString())
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(lo, hi);
    box->setValue(std::clamp(value, lo, hi));
    box->setSuffix(suffix);
    return box;
}

QDoubleSpinBox* Seconds(QWidget* parent, const char* name, double value)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0.0, CExportSettings::kMaxHoldSeconds);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(CExportDlg::tr(" 秒"));
    box->setValue(std::clamp(value, 0.0, CExportSettings::kMaxHoldSeconds));
    return box;
}

void Select(QComboBox* list, int value)
{
    const int at = list->findData(value);
    list->setCurrentIndex(at < 0 ? 0 : at);
}

// A row of controls under one label, whose mnemonic leads to the first.
void AddRow(QFormLayout* form, QWidget* parent, const QString& text, std::initializer_list<QWidget*> widgets)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets)
        layout->addWidget(w);
    layout->addStretch(1);
    auto* label = new QLabel(text, parent);
    label->setBuddy(*widgets.begin());
    form->addRow(label, row);
}

} // namespace

CExportDlg::CExportDlg(const CExportSettings& settings, int32_t pictureWidth, int32_t pictureHeight,
                       CUserPrompts& prompts, QWidget* parent, int32_t morphs)
    : QDialog(parent), m_settings(settings), m_nPictureWidth(pictureWidth), m_nPictureHeight(pictureHeight),
      m_prompts(prompts), m_morphs(morphs < 1 ? 1 : morphs)
{
    setWindowTitle(tr("导出"));
    auto* form = new QFormLayout(this);

    m_pFolder = new QLineEdit(QString::fromStdString(settings.folder), this);
    m_pFolder->setObjectName(QStringLiteral("folder"));
    m_pFolder->setMinimumWidth(320);
    auto* browse = new QPushButton(tr("浏览(&B)..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &CExportDlg::OnBrowse);
    AddRow(form, this, tr("输出文件夹(&F):"), {m_pFolder, browse});

    m_pName = new QLineEdit(QString::fromStdString(settings.baseName), this);
    m_pName->setObjectName(QStringLiteral("name"));
    form->addRow(tr("文件名(&N):"), m_pName);

    m_pFrames = new QComboBox(this);
    m_pFrames->setObjectName(QStringLiteral("frames"));
    m_pFrames->addItem(tr("无"), int(Frames::kNone));
    m_pFrames->addItem(QStringLiteral("PNG"), int(Frames::kPng));
    m_pFrames->addItem(QStringLiteral("JPEG"), int(Frames::kJpeg));
    m_pFrames->addItem(QStringLiteral("BMP"), int(Frames::kBmp));
    Select(m_pFrames, int(settings.frames));
    m_pFrameQuality = Spin(this, "frameQuality", 0, 100, settings.frameQuality);
    auto* jpegLabel = new QLabel(tr("JPEG 质量:"), this);
    AddRow(form, this, tr("帧文件(&I):"), {m_pFrames, jpegLabel, m_pFrameQuality});

    m_pVideo = new QComboBox(this);
    m_pVideo->setObjectName(QStringLiteral("video"));
    m_pVideo->addItem(tr("无"), int(Video::kNone));
    m_pVideo->addItem(CCoreText::Translate(CVideoSettings::FormatName(CVideoSettings::kMp4H264)), int(Video::kMp4));
    m_pVideo->addItem(CCoreText::Translate(CVideoSettings::FormatName(CVideoSettings::kWebmVp9)), int(Video::kWebm));
    m_pVideo->addItem(CCoreText::Translate(CVideoSettings::FormatName(CVideoSettings::kGif)), int(Video::kGif));
    m_pVideo->addItem(tr("AVI(全帧,非压缩的)"), int(Video::kAviUncompressed));
    m_pVideo->addItem(QStringLiteral("AVI(Motion JPEG)"), int(Video::kAviMotionJpeg));
    Select(m_pVideo, int(settings.video));
    // H.264's preset, WebM's speed and a GIF's dithering sit beside the
    // video, like JPEG's quality beside the frame files, and are open only
    // with their format.
    m_mp4Preset = new QComboBox(this);
    m_mp4Preset->setObjectName(QStringLiteral("mp4Preset"));
    for (int32_t i = 0; i < CVideoSettings::kMp4PresetCount; ++i)
        m_mp4Preset->addItem(QString::fromLatin1(CVideoSettings::kMp4Presets[i]), i);
    m_mp4Preset->setToolTip(tr("预设越快编码越快,同样画质下文件越大;ultrafast 跟得上变形的速度"));
    Select(m_mp4Preset, settings.mp4Preset);
    auto* presetLabel = new QLabel(tr("编码预设:"), this);
    presetLabel->setBuddy(m_mp4Preset);
    m_webmSpeed = Spin(this, "webmSpeed", 0, CVideoSettings::kMaxWebmSpeed, settings.webmSpeed);
    m_webmSpeed->setToolTip(tr("数值越大编码越快,文件稍大;5 及以上按实时速度编码"));
    auto* speedLabel = new QLabel(tr("编码速度:"), this);
    speedLabel->setBuddy(m_webmSpeed);
    m_gifDither = new QComboBox(this);
    m_gifDither->setObjectName(QStringLiteral("gifDither"));
    m_gifDither->addItem(tr("有序抖动(快)"), int(CVideoSettings::GifDither::kOrdered));
    m_gifDither->addItem(tr("误差扩散(细腻)"), int(CVideoSettings::GifDither::kDiffusion));
    m_gifDither->setToolTip(tr("有序抖动快,文件小;误差扩散的渐变更细腻,编码约慢一倍"));
    Select(m_gifDither, int(settings.gifDither));
    auto* ditherLabel = new QLabel(tr("抖动:"), this);
    ditherLabel->setBuddy(m_gifDither);
    AddRow(form, this, tr("视频(&V):"),
           {m_pVideo, presetLabel, m_mp4Preset, speedLabel, m_webmSpeed, ditherLabel, m_gifDither});

    m_pFps = Spin(this, "fps", CVideoSettings::kMinFps, CVideoSettings::kMaxFps, settings.fps, tr(" 帧/秒"));
    form->addRow(tr("帧率(&R):"), m_pFps);
    m_frameCount = Spin(this, "frameCount", 2, CExportSettings::kMaxFrames, settings.steps + 1);
    m_duration = new QDoubleSpinBox(this);
    m_duration->setObjectName(QStringLiteral("duration"));
    m_duration->setDecimals(2);
    m_duration->setRange(2.0 / CVideoSettings::kMaxFps, double{CExportSettings::kMaxFrames} / CVideoSettings::kMinFps);
    m_duration->setSuffix(tr(" 秒"));
    auto* durationLabel = new QLabel(tr("时长(&D):"), this);
    durationLabel->setBuddy(m_duration);
    AddRow(form, this, m_morphs > 1 ? tr("每段帧数(&L):") : tr("帧数(&L):"), {m_frameCount, durationLabel, m_duration});
    if (m_morphs > 1) {
        m_sequenceHold = Spin(this, "sequenceHold", 0, CExportSettings::kMaxFrames, settings.sequenceHold, tr(" 帧"));
        m_sequenceHold->setToolTip(tr("每个画面(首帧、每个衔接处、末帧)多停留的帧数"));
        form->addRow(tr("画面停留(&H):"), m_sequenceHold);
        connect(m_sequenceHold, &QSpinBox::valueChanged, this, &CExportDlg::UpdateControls);
    }
    m_duration->setValue(static_cast<double>(m_frameCount->value()) / m_pFps->value());
    connect(m_frameCount, &QSpinBox::valueChanged, this, &CExportDlg::FollowFrames);
    connect(m_pFps, &QSpinBox::valueChanged, this, &CExportDlg::FollowFrames);
    connect(m_duration, &QDoubleSpinBox::valueChanged, this, &CExportDlg::FollowDuration);
    m_pVideoQuality = Spin(this, "videoQuality", 0, 100, settings.videoQuality);
    form->addRow(tr("视频质量(&Q):"), m_pVideoQuality);

    m_pPictureSize = new QRadioButton(tr("图片原大小(%1 x %2)").arg(pictureWidth).arg(pictureHeight), this);
    m_pPictureSize->setObjectName(QStringLiteral("pictureSize"));
    m_pOwnWidth = new QRadioButton(tr("宽度(&W):"), this);
    m_pOwnWidth->setObjectName(QStringLiteral("ownWidth"));
    m_pWidth = Spin(this, "width", 1, CVideoSettings::kMaxSide, settings.width > 0 ? settings.width : pictureWidth,
                    tr(" 像素"));
    m_pSizeNote = new QLabel(this);
    m_pSizeNote->setObjectName(QStringLiteral("sizeNote"));
    // The two choices sit in rows of their own: a group makes them exclusive.
    m_sizeGroup = new QButtonGroup(this);
    m_sizeGroup->addButton(m_pPictureSize);
    m_sizeGroup->addButton(m_pOwnWidth);
    (settings.width > 0 ? m_pOwnWidth : m_pPictureSize)->setChecked(true);
    AddRow(form, this, tr("输出大小(&Z):"), {m_pPictureSize});
    AddRow(form, this, QString(), {m_pOwnWidth, m_pWidth, m_pSizeNote});

    // The project's quality comes in; a change here holds for this export.
    m_quality = new QComboBox(this);
    m_quality->setObjectName(QStringLiteral("quality"));
    m_quality->addItem(tr("经典"), int(CMorphOptions::Quality::kClassic));
    m_quality->addItem(tr("平滑"), int(CMorphOptions::Quality::kSmooth));
    Select(m_quality, int(settings.morph.quality));
    m_supersample = new QCheckBox(tr("2 x 2 超采样(&U)"), this);
    m_supersample->setObjectName(QStringLiteral("supersample"));
    m_supersample->setToolTip(tr("每个像素取 4 个平滑样本的平均值,边缘更平滑,导出时间约为 4 倍"));
    m_supersample->setChecked(settings.supersample == 2);
    AddRow(form, this, tr("变形质量(&M):"), {m_quality, m_supersample});

    m_pPingPong = new QCheckBox(tr("往返(&P):先正向再反向播放,便于循环"), this);
    m_pPingPong->setObjectName(QStringLiteral("pingPong"));
    m_pPingPong->setChecked(settings.pingPong);
    form->addRow(QString(), m_pPingPong);
    m_pHoldFirst = Seconds(this, "holdFirst", settings.holdFirstSeconds);
    m_pHoldLast = Seconds(this, "holdLast", settings.holdLastSeconds);
    form->addRow(tr("首帧停留(&S):"), m_pHoldFirst);
    form->addRow(tr("末帧停留(&E):"), m_pHoldLast);

    m_lengthNote = new QLabel(this);
    m_lengthNote->setObjectName(QStringLiteral("lengthNote"));
    form->addRow(tr("长度:"), m_lengthNote);

    m_pGifNote = new QLabel(this);
    m_pGifNote->setObjectName(QStringLiteral("gifNote"));
    m_pGifNote->setWordWrap(true);
    form->addRow(m_pGifNote);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("导出"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    for (QComboBox* list : {m_pFrames, m_pVideo, m_quality})
        connect(list, &QComboBox::currentIndexChanged, this, &CExportDlg::UpdateControls);
    for (QSpinBox* box : {m_pFps, m_pWidth})
        connect(box, &QSpinBox::valueChanged, this, &CExportDlg::UpdateControls);
    for (QDoubleSpinBox* box : {m_pHoldFirst, m_pHoldLast})
        connect(box, &QDoubleSpinBox::valueChanged, this, &CExportDlg::UpdateControls);
    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(m_pOwnWidth), static_cast<QAbstractButton*>(m_pPingPong)})
        connect(button, &QAbstractButton::toggled, this, &CExportDlg::UpdateControls);
    UpdateControls();
}

void CExportDlg::OnBrowse()
{
    const QString chosen = m_prompts.GetExistingDirectory(this, m_pFolder->text());
    if (!chosen.isEmpty()) m_pFolder->setText(chosen);
}

CExportSettings CExportDlg::GetSettings() const
{
    CExportSettings s = m_settings;
    s.folder = m_pFolder->text().trimmed().toStdString();
    s.baseName = m_pName->text().trimmed().toStdString();
    s.frames = static_cast<Frames>(m_pFrames->currentData().toInt());
    s.frameQuality = m_pFrameQuality->value();
    s.video = static_cast<Video>(m_pVideo->currentData().toInt());
    s.fps = m_pFps->value();
    s.videoQuality = m_pVideoQuality->value();
    s.mp4Preset = m_mp4Preset->currentData().toInt();
    s.sequenceHold = m_sequenceHold != nullptr ? m_sequenceHold->value() : 0;
    s.webmSpeed = m_webmSpeed->value();
    s.gifDither = static_cast<CVideoSettings::GifDither>(m_gifDither->currentData().toInt());
    s.width = m_pOwnWidth->isChecked() ? m_pWidth->value() : 0;
    s.height = 0;
    s.pingPong = m_pPingPong->isChecked();
    s.holdFirstSeconds = m_pHoldFirst->value();
    s.holdLastSeconds = m_pHoldLast->value();
    s.morph.quality = static_cast<CMorphOptions::Quality>(m_quality->currentData().toInt());
    s.supersample = m_supersample->isEnabled() && m_supersample->isChecked() ? 2 : 1;
    s.steps = m_frameCount->value() - 1;
    return s;
}

void CExportDlg::FollowFrames()
{
    const QSignalBlocker quiet(m_duration);
    m_duration->setValue(static_cast<double>(m_frameCount->value()) / m_pFps->value());
    UpdateControls();
}

void CExportDlg::FollowDuration()
{
    const QSignalBlocker quiet(m_frameCount);
    m_frameCount->setValue(static_cast<int>(std::lround(m_duration->value() * m_pFps->value())));
    UpdateControls();
}

void CExportDlg::UpdateControls()
{
    CExportSettings s = GetSettings();
    // A sequence counts its frames over every morph, each join once.
    s.steps = static_cast<int32_t>(
        CExportSequence::CountFrames(std::vector<int32_t>(static_cast<size_t>(m_morphs), s.steps), s.sequenceHold) - 1);
    m_pFrameQuality->setEnabled(s.frames == Frames::kJpeg);
    const bool video = s.video != Video::kNone;
    for (QWidget* w : {static_cast<QWidget*>(m_pFps), static_cast<QWidget*>(m_pPingPong),
                       static_cast<QWidget*>(m_pHoldFirst), static_cast<QWidget*>(m_pHoldLast)})
        w->setEnabled(video);
    m_pVideoQuality->setEnabled(video && s.video != Video::kAviUncompressed);
    m_mp4Preset->setEnabled(s.video == Video::kMp4);
    m_webmSpeed->setEnabled(s.video == Video::kWebm);
    m_gifDither->setEnabled(s.video == Video::kGif);
    m_pWidth->setEnabled(m_pOwnWidth->isChecked());
    // Quality belongs to the feature morph; supersampling to smooth frames.
    m_quality->setEnabled(s.engine == EngineKind::kFeature);
    m_supersample->setEnabled(s.engine == EngineKind::kFeature &&
                              m_quality->currentData().toInt() == int(CMorphOptions::Quality::kSmooth));

    int32_t w = 0, h = 0;
    s.OutputSize(m_nPictureWidth, m_nPictureHeight, w, h);
    m_pSizeNote->setText(tr("高度随之:%1 像素").arg(h));

    QString note;
    if (s.video == Video::kGif) {
        if (s.fps > 50) {
            note = tr("GIF 的帧延时以 1/100 秒计,高于 50 帧/秒的帧率按 50 帧/秒播放。");
        }
    }
    if (video) {
        const size_t frames = s.Timeline().size();
        m_lengthNote->setText(tr("%1 帧, %2 秒").arg(frames).arg(static_cast<double>(frames) / s.fps, 0, 'f', 1));
    } else if (s.frames != Frames::kNone) {
        m_lengthNote->setText(tr("%1 个帧文件, 没有视频").arg(s.LastFrame() - s.firstFrame + 1));
    } else {
        m_lengthNote->setText(tr("没有要写的文件"));
    }

    m_pGifNote->setText(note);
    m_pGifNote->setVisible(!note.isEmpty());
}
