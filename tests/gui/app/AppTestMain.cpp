#include "ControlBarTest.h"
#include "DialogTest.h"
#include "ExportTest.h"
#include "FaceLinesTest.h"
#include "LanguageTest.h"
#include "MainFrameTest.h"
#include "PreviewTest.h"
#include "ProjectReaderTest.h"
#include "RunTest.h"
#include "StartupTest.h"
#include "WindowLayoutTest.h"
#include "gui/support/CGuiTestSupport.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    MainFrameTest frame;
    ControlBarTest controlBar;
    StartupTest startup;
    RunTest run;
    DialogTest dialogs;
    ExportTest exports;
    LanguageTest language;
    PreviewTest preview;
    WindowLayoutTest layout;
    ProjectReaderTest reader;
    FaceLinesTest faces;
    return RunTestObjects(
        argc, argv,
        {&frame, &controlBar, &startup, &run, &dialogs, &exports, &language, &preview, &layout, &reader, &faces});
}
