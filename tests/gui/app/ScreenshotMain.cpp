// Takes a picture of the main window as the user sees it:
//   app_screenshot [--size WxH] [--drag IMAGE:X,Y:X2,Y2] OUTPUT.png [PROJECT.tvl]
// Runs the real application (real dialogs, the current directory as the
// working folder, settings in a throw-away file), waits until the window is
// on screen, grabs it from the screen and quits. Meant for xvfb-run.
//
// --size gives the window that size instead of its own. --drag takes the select tool and drags the point at picture
// position (X, Y) of image IMAGE (0 source, 1 target) toward (X2, Y2); the picture is taken with the button still held,
// once the preview shows the frame of the lines as they are then.
#include "app/CDialogPrompts.h"
#include "app/CMainFrame.h"
#include "app/CTrevalinApp.h"
#include "app/Resource.h"
#include "editing/CImageView.h"
#include "picture/CQtPictureDecoder.h"
#include "view/CPreviewDock.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

struct Drag {
    int image = -1;
    QPoint from, to;
};

// Presses on `drag.from` and moves toward `drag.to` in small steps, as a
// hand would, leaving the button held.
void DragPoint(CMainFrame& frame, const Drag& drag)
{
    frame.GetAction(ID_TOOL_SELECT)->trigger();
    CImageView* pane = frame.GetPane(drag.image);
    QWidget* viewport = pane->viewport();
    const auto send = [viewport](QEvent::Type type, QPoint client, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(client), QPointF(viewport->mapToGlobal(client)), button, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    const QPoint start = pane->PictureToClient(drag.from.x(), drag.from.y());
    const QPoint end = pane->PictureToClient(drag.to.x(), drag.to.y());
    send(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    const int steps = 12;
    for (int i = 1; i <= steps; ++i) {
        send(QEvent::MouseMove, start + (end - start) * i / steps, Qt::NoButton, Qt::LeftButton);
        QTest::qWait(30);
    }
    CPreviewDock* preview = frame.GetPreview();
    for (int waited = 0; waited < 10000 && preview->GetShown() != preview->GetRequested(); waited += 20)
        QTest::qWait(20);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    Drag drag;
    QSize size;
    int first = 1;
    for (; first + 1 < argc && argv[first][0] == '-'; first += 2) {
        const QByteArray option(argv[first]);
        bool ok = false;
        if (option == "--drag") {
            ok = std::sscanf(argv[first + 1], "%d:%d,%d:%d,%d", &drag.image, &drag.from.rx(), &drag.from.ry(),
                             &drag.to.rx(), &drag.to.ry()) == 5 &&
                 drag.image >= 0 && drag.image <= 1;
        } else if (option == "--size") {
            ok = std::sscanf(argv[first + 1], "%dx%d", &size.rwidth(), &size.rheight()) == 2 && !size.isEmpty();
        }
        if (!ok) {
            std::fprintf(stderr, "app_screenshot: bad option %s %s\n", argv[first], argv[first + 1]);
            return 2;
        }
    }
    if (argc <= first) {
        std::fprintf(stderr, "usage: app_screenshot [--size WxH] [--drag IMAGE:X,Y:X2,Y2] OUTPUT.png [PROJECT.tvl]\n");
        return 2;
    }
    const QString output = QFile::decodeName(argv[first]);
    QStringList arguments;
    for (int i = first + 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);

    QTemporaryDir settingsDir;
    QSettings settings(settingsDir.filePath(QStringLiteral("Trevalin.ini")), QSettings::IniFormat);
    CDialogPrompts prompts;
    CTrevalinApp app(prompts, settings, std::make_shared<CQtPictureDecoder>());
    if (!app.InitInstance(arguments, QFile::encodeName(QDir::currentPath()).toStdString())) return 1;
    CMainFrame* frame = app.GetMainWnd();
    if (!size.isEmpty()) frame->resize(size);
    if (!QTest::qWaitForWindowExposed(frame)) return 1;
    QTest::qWait(500);
    if (!size.isEmpty()) {
        // The panes share the new width half and half, as at start-up.
        QSplitter* splitter = frame->GetSplitter();
        splitter->setSizes({splitter->width() / 2, splitter->width() - splitter->width() / 2});
        QTest::qWait(200);
    }
    if (drag.image >= 0) DragPoint(*frame, drag);
    const QPixmap shot = frame->screen()->grabWindow(frame->winId());
    if (shot.isNull() || !shot.save(output)) {
        std::fprintf(stderr, "app_screenshot: could not save %s\n", argv[first]);
        return 1;
    }
    return 0;
}
