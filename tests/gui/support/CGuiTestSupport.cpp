#include "CGuiTestSupport.h"

#include "support/CTempDir.h"

#include <QImage>
#include <QObject>
#include <QPainter>
#include <QTest>

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
    int status = 0;
    for (QObject* test : tests)
        status |= QTest::qExec(test, argc, argv);
    return status;
}
