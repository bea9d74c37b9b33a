#pragma once

#include <QObject>
#include <cstdint>

// What an undo step announces once it has changed the document: its lines,
// or one of its pictures. The steps know the document and these signals,
// nothing else; the document controller passes them on to the panes and
// the window.
class CDocChangeSignals : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // The lines of either image changed (a line added, moved or deleted, or
    // moved with a fitted picture).
    void LinesChanged() { emit linesChanged(); }
    // Picture `image` was replaced.
    void PictureChanged(int32_t image) { emit pictureChanged(image); }

signals:
    void linesChanged();
    void pictureChanged(int32_t image);
};
