#include "CGuiTestSupport.h"

#include "support/CTempDir.h"

#include <QImage>
#include <QObject>
#include <QPainter>
#include <QTest>

#include <chrono>
#include <cstdlib>
#include <thread>

void WriteTestPicture(const QString& path, int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QPainter painter(&image);
    painter.setPen(colour.darker(200));
    painter.drawLine(0, 0, width - 1, height - 1);
    painter.drawLine(width - 1, 0, 0, height - 1);
    painter.end();
    image.save(path, "BMP");
}

QString PathIn(const CTempDir& dir, const std::string& name)
{
    return QString::fromStdString((dir / name).string());
}

int RunTestObjects(int argc, char** argv, std::initializer_list<QObject*> tests)
{
    // Qt's threads are detached: one that wait() saw finish, or one of the
    // pool the application lets go as it ends, may still be leaving when the
    // process exits, and LeakSanitizer's check at exit (which stops every
    // thread) can fail on a thread half gone. Registered after the
    // sanitizer's own, this runs before it and lets them leave.
    std::atexit([] { std::this_thread::sleep_for(std::chrono::milliseconds(200)); });
    int status = 0;
    for (QObject* test : tests)
        status |= QTest::qExec(test, argc, argv);
    return status;
}
