#pragma once

#include "document/CTrevalinDoc.h"
#include "editing/CDocController.h"
#include "editing/CImageView.h"
#include "editing/CToolSwitcher.h"
#include "editing/CZoom.h"
#include "gui/support/CFakePrompts.h"
#include "gui/support/CGuiTestSupport.h"
#include "picture/MakePictureDecoder.h"
#include "support/CTempDir.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <memory>

// Two panes side by side over a document whose working folder is a fresh
// temporary folder, sharing one zoom, with their tool switcher; a spy view
// counts what the document tells its views.
struct PaneRig {
    CTempDir dir;
    CFakePrompts prompts;
    CDocController doc{std::make_unique<CTrevalinDoc>(dir.Str(), MakePictureDecoder())};
    CSpyView spy;
    int32_t viewCount = 0;
    CZoom zoom;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    CImageView* left = new CImageView(doc, prompts, viewCount, window.get());
    CImageView* right = new CImageView(doc, prompts, viewCount, window.get());
    CToolSwitcher tools{doc, {left, right}};

    PaneRig()
    {
        auto* layout = new QHBoxLayout(window.get());
        left->SetZoom(&zoom);
        right->SetZoom(&zoom);
        layout->addWidget(left);
        layout->addWidget(right);
        doc.AddView(&spy);
        window->resize(440, 180);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    ~PaneRig()
    {
        window.reset();
        doc.RemoveView(&spy);
    }

    // Loads pictures of the given sizes into the document (not through the
    // panes) and gives the views their initial update.
    void LoadPictures(int w0, int h0, int w1, int h1)
    {
        std::filesystem::create_directories(dir / "images");
        WriteTestPicture(PathIn(dir, "images/a.bmp"), w0, h0, QColor(200, 120, 80));
        WriteTestPicture(PathIn(dir, "images/b.bmp"), w1, h1, QColor(80, 120, 200));
        QVERIFY(doc.GetDoc().GetPicture(0)->LoadFromFile((dir / "images/a.bmp").string()));
        QVERIFY(doc.GetDoc().GetPicture(1)->LoadFromFile((dir / "images/b.bmp").string()));
        doc.SendInitialUpdate();
    }

    CPointSets<int>& Lines(int image) { return doc.GetFeatureSet()->m_sets[image]; }
    // Line pair (x0, y0)-(x1, y1) put straight into both images.
    void AddPair(int x0, int y0, int x1, int y1)
    {
        for (int image : {0, 1}) {
            const int32_t i = Lines(image).Add();
            Lines(image).Line(i).AddPoint(x0, y0, 0, 1);
            Lines(image).Line(i).AddPoint(x1, y1, 0, 1);
        }
    }
};

inline QPoint PointOf(const CPointSet<int>& line, int j)
{
    return {line.Point(j).x, line.Point(j).y};
}

// QTest keeps the buttons it pressed as held until they are released, so
// every press in these tests is followed by its release.
inline void Press(CImageView* pane, QPoint client, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(pane->viewport(), button, {}, client);
}

inline void Release(CImageView* pane, QPoint client, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseRelease(pane->viewport(), button, {}, client);
}

inline void Click(CImageView* pane, QPoint client, Qt::MouseButton button = Qt::LeftButton)
{
    Press(pane, client, button);
    Release(pane, client, button);
}

// A pointer move straight to the widget (QTest would move the cursor
// instead, which sends nothing when it is already at that spot).
inline void Move(QWidget* widget, QPoint client, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(client), QPointF(widget->mapToGlobal(client)), Qt::NoButton,
                     QGuiApplication::mouseButtons(), modifiers);
    QApplication::sendEvent(widget, &move);
}

// Draws a line pair with the draw tool: press at `from`, move to `to`,
// press again; positions are client positions of `pane`.
inline void DrawLine(CImageView* pane, QPoint from, QPoint to)
{
    Click(pane, from);
    Move(pane->viewport(), to);
    Click(pane, to);
}
