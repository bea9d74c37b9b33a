#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>

// Shows one frame with a label at the top centre of what is shown of it.
// By default the whole frame is shown, scaled down to fit when it is larger
// than the view (never up); with a zoom factor it is shown at that scale,
// with scroll bars where it does not fit. A frame may be shown from an image
// of another size (a half-resolution frame): it is drawn over the frame's
// own size.
class CFrameDisplay : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CFrameDisplay(QWidget* parent = nullptr);

    // `frameSize` is the size the frame stands for; empty: the image's own.
    void SetFrame(const QImage& image, const QString& label, QSize frameSize = QSize());
    void Clear();
    const QImage& GetImage() const { return m_image; }
    const QString& GetLabel() const { return m_label; }
    QSize GetFrameSize() const { return m_frameSize; }

    // Whole frame, scaled down to fit (the default).
    void SetFit();
    // A fixed scale (1 = 100 %), shown with scroll bars where needed.
    void SetZoomFactor(double factor);
    bool IsFit() const { return m_bFit; }
    // The scale the frame is drawn at now.
    double GetScale() const;
    // Where the frame is drawn in the viewport, after scrolling.
    QRect FrameRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollRanges();

    QImage m_image;
    QString m_label;
    QSize m_frameSize;
    bool m_bFit = true;
    double m_factor = 1.0;
};
