#include "CAppRig.h"

#include "app/CMainFrame.h"
#include "app/CTrevalinApp.h"
#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "editing/CImageView.h"
#include "gui/support/CGuiTestSupport.h"
#include "picture/CQtPictureDecoder.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <filesystem>

CAppRig::CAppRig(const QString& settingsFile)
    : settingsPath(settingsFile.isEmpty() ? PathIn(settingsDir, "Trevalin.ini") : settingsFile)
{
    for (const char* folder : {"images", "ouput_image", "output_video"})
        std::filesystem::create_directories(dir / folder);
    settings = std::make_unique<QSettings>(settingsPath, QSettings::IniFormat);
    app = std::make_unique<CTrevalinApp>(prompts, *settings, std::make_shared<CQtPictureDecoder>());
}

CAppRig::~CAppRig()
{
    Quit();
}

bool CAppRig::Start(const QStringList& arguments)
{
    return app->InitInstance(arguments, dir.Str());
}

void CAppRig::Quit()
{
    if (!app) return;
    app->ExitInstance();
    app.reset();
    settings.reset();
}

void CAppRig::LoadPicture(int index, const std::string& name, int width, int height, const QColor& colour)
{
    WriteTestPicture(PathIn(dir, "images/" + name), width, height, colour);
    Doc().GetDoc().GetPicture(index)->LoadFromFile(Work("images/" + name));
    Doc().SendInitialUpdate();
}

QString CAppRig::WriteProject(const std::filesystem::path& path, const std::string& source, const std::string& target,
                              int x0, int y0, int x1, int y1)
{
    CTrevalinDoc doc(dir.Str(), std::make_shared<CQtPictureDecoder>());
    if (!source.empty()) doc.GetPicture(0)->LoadFromFile(Work("images/" + source));
    if (!target.empty()) doc.GetPicture(1)->LoadFromFile(Work("images/" + target));
    for (int image : {0, 1}) {
        const int32_t i = doc.GetFeatureSet()->m_sets[image].Add();
        doc.GetFeatureSet()->m_sets[image].Line(i).AddPoint(x0, y0, 0, 1);
        doc.GetFeatureSet()->m_sets[image].Line(i).AddPoint(x1, y1, 0, 1);
    }
    doc.OnSaveDocument(path.string());
    return QString::fromStdString(path.string());
}

CMainFrame& CAppRig::Frame() const
{
    return *app->GetMainWnd();
}

CTrevalinView& CAppRig::ResultView() const
{
    return *app->GetMainWnd()->GetResultView();
}

CDocController& CAppRig::Doc() const
{
    return *app->GetDocController();
}

void CAppRig::DrawLine(int column, QPoint from, QPoint to)
{
    QWidget* viewport = Frame().GetPane(column)->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(viewport->mapToGlobal(to)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, to);
}

bool CAppRig::Activate()
{
    Frame().show();
    Frame().activateWindow();
    return QTest::qWaitForWindowActive(&Frame());
}
