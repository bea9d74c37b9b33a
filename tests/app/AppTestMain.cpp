#include "CGuiTestSupport.h"
#include "ControlBarTest.h"
#include "MainFrameTest.h"
#include "RunTest.h"
#include "StartupTest.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MainFrameTest frame;
    ControlBarTest controlBar;
    StartupTest startup;
    RunTest run;
    return RunTestObjects(argc, argv, {&frame, &controlBar, &startup, &run});
}
