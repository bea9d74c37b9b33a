#pragma once

#include <QObject>
#include <QPoint>
#include <cstdint>

// The zoom factor the image panes share, and the mapping between picture
// pixels and screen pixels it implies. Picture pixel x covers the screen
// pixels from x * f to (x + 1) * f; a point at x is drawn at the screen
// pixel under its pixel's centre, floor((x + 0.5) * f). At 1 both are x.
class CZoom : public QObject {
    Q_OBJECT

public:
    // Low enough to show a large photograph whole in a narrow pane.
    static constexpr double kMin = 1.0 / 32.0;
    static constexpr double kMax = 16.0;

    explicit CZoom(QObject* parent = nullptr) : QObject(parent) {}

    double Factor() const { return m_factor; }
    // The next step up or down (3.125 % to 1600 %); `source` and `anchor`
    // name the pane and its client position that stays over the same
    // picture point (none: each pane keeps its centre).
    void ZoomIn(const QObject* source = nullptr, QPoint anchor = {});
    void ZoomOut(const QObject* source = nullptr, QPoint anchor = {});
    // 100 %.
    void SetActual();
    // Any factor, kept within 3.125 % to 1600 %.
    void SetFactor(double factor, const QObject* source = nullptr, QPoint anchor = {});
    bool CanZoomIn() const;
    bool CanZoomOut() const;

    // Screen position (from the picture's origin) of picture coordinate v.
    static int32_t ToScreen(int32_t v, double factor);
    // Screen extent of a picture extent: every screen pixel any of it covers.
    static int32_t ExtentToScreen(int32_t extent, double factor);
    // The picture pixel under screen position s.
    static int32_t ToPicture(int32_t s, double factor);
    // The picture position of screen position s in real picture pixels,
    // measured so that s - ToScreen(x) screen pixels come out as that many
    // divided by the factor (exactly for whole factors; at 1: s itself).
    static double ToPictureF(int32_t s, double factor);

signals:
    // Just before the factor changes, while every view still shows the old
    // one; then zoomChanged once it has.
    void zoomChanging();
    void zoomChanged(double oldFactor, const QObject* source, QPoint anchor);

private:
    double m_factor = 1.0;
};
