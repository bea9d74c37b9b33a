#pragma once

#include "output/avi/CCompressionOptions.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QSlider;
class QSpinBox;

// The video compression-options dialog: full frames (uncompressed) or
// Motion JPEG with a quality from 1 to 100; OK and Cancel.
class CCompressionDialog : public QDialog {
    Q_OBJECT

public:
    explicit CCompressionDialog(const CCompressionOptions& options, QWidget* parent = nullptr);

    CCompressionOptions GetOptions() const;

private:
    void UpdateQualityEnabled();

    QComboBox* m_pCodec;
    QLabel* m_pQualityLabel;
    QSlider* m_pQualitySlider;
    QSpinBox* m_pQuality;
};
