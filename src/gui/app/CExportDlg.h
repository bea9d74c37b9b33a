#pragma once

#include "export/CExportSettings.h"

#include <QDialog>
#include <cstdint>

class CUserPrompts;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// The export dialog (文件 → 导出…): output folder and base name, frame
// files and their format, the video and its format, frame rate and
// quality, output size (the pictures' own or a width of choice), the morph's
// quality (and 2 x 2 supersampling of smooth frames), WebM's encoding speed
// and a GIF's dithering (each open only with its format), ping-pong
// and the held first and last frames. A line under them tells how many
// frames the video will have and how long it plays, as the settings change.
// The export's length is its frame count (of each morph of a sequence),
// 2 to 10000, or its duration at the frame rate, the one kept in step with
// the other (N = frames - 1); the engine and the morph options come in with
// the settings and go back unchanged, but for the quality chosen here.
class CExportDlg : public QDialog {
    Q_OBJECT

public:
    // `morphs`: the morphs of a sequence export, each of settings.steps.
    CExportDlg(const CExportSettings& settings, int32_t pictureWidth, int32_t pictureHeight, CUserPrompts& prompts,
               QWidget* parent = nullptr, int32_t morphs = 1);

    CExportSettings GetSettings() const;

    // The controls, for the tests.
    QLineEdit* FolderEdit() const { return m_pFolder; }
    QLineEdit* NameEdit() const { return m_pName; }
    QComboBox* FramesList() const { return m_pFrames; }
    QComboBox* VideoList() const { return m_pVideo; }
    QSpinBox* FpsBox() const { return m_pFps; }
    QSpinBox* WidthBox() const { return m_pWidth; }
    QRadioButton* PictureSizeButton() const { return m_pPictureSize; }
    QRadioButton* OwnWidthButton() const { return m_pOwnWidth; }
    QButtonGroup* SizeGroup() const { return m_sizeGroup; }
    QLabel* LengthNote() const { return m_lengthNote; }
    QCheckBox* PingPongBox() const { return m_pPingPong; }
    QDoubleSpinBox* HoldFirstBox() const { return m_pHoldFirst; }
    QDoubleSpinBox* HoldLastBox() const { return m_pHoldLast; }
    QLabel* SizeNote() const { return m_pSizeNote; }
    QLabel* GifNote() const { return m_pGifNote; }
    QComboBox* QualityList() const { return m_quality; }
    QCheckBox* SupersampleBox() const { return m_supersample; }
    QSpinBox* FrameCountBox() const { return m_frameCount; }
    QDoubleSpinBox* DurationBox() const { return m_duration; }
    QComboBox* Mp4PresetList() const { return m_mp4Preset; }
    // A sequence's held frames at each picture; null for one morph.
    QSpinBox* SequenceHoldBox() const { return m_sequenceHold; }
    QSpinBox* WebmSpeedBox() const { return m_webmSpeed; }
    QComboBox* GifDitherList() const { return m_gifDither; }

private:
    void OnBrowse();
    void UpdateControls();
    // The frame count and the duration follow each other at the frame rate.
    void FollowFrames();
    void FollowDuration();

    CExportSettings m_settings;
    int32_t m_nPictureWidth;
    int32_t m_nPictureHeight;
    CUserPrompts& m_prompts;

    QLineEdit* m_pFolder;
    QLineEdit* m_pName;
    QComboBox* m_pFrames;
    QSpinBox* m_pFrameQuality;
    QComboBox* m_pVideo;
    QSpinBox* m_pFps;
    QSpinBox* m_pVideoQuality;
    QComboBox* m_mp4Preset;
    QSpinBox* m_sequenceHold = nullptr;
    QSpinBox* m_webmSpeed;
    QComboBox* m_gifDither;
    QRadioButton* m_pPictureSize;
    QRadioButton* m_pOwnWidth;
    QButtonGroup* m_sizeGroup;
    QSpinBox* m_pWidth;
    QLabel* m_pSizeNote;
    QCheckBox* m_pPingPong;
    QDoubleSpinBox* m_pHoldFirst;
    QDoubleSpinBox* m_pHoldLast;
    QLabel* m_lengthNote;
    QLabel* m_pGifNote;
    QComboBox* m_quality;
    QCheckBox* m_supersample;
    int32_t m_morphs = 1;
    QSpinBox* m_frameCount = nullptr;
    QDoubleSpinBox* m_duration = nullptr;
};
