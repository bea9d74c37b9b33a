#include "EditingStepsTest.h"
#include "ImageViewTest.h"
#include "OverlayTest.h"
#include "gui/support/CGuiTestSupport.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    OverlayTest overlay;
    ImageViewTest panes;
    EditingStepsTest steps;
    return RunTestObjects(argc, argv, {&overlay, &panes, &steps});
}
