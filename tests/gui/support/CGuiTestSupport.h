#pragma once

#include "editing/CDocView.h"

#include <QColor>
#include <QString>

#include <initializer_list>

#include <string>

class CTempDir;
class QObject;

// Writes a BMP picture of one colour with a darker cross through it.
void WriteTestPicture(const QString& path, int width, int height, const QColor& colour);
// The path of a file in a temporary folder, as a QString.
QString PathIn(const CTempDir& dir, const std::string& name);

// A view that only counts what the document tells it.
class CSpyView : public CDocView {
public:
    void OnInitialUpdate() override { ++initialUpdates; }
    void OnUpdate(CDocView* sender) override
    {
        ++updates;
        lastSender = sender;
    }

    int initialUpdates = 0;
    int updates = 0;
    CDocView* lastSender = nullptr;
};

// Runs the given Qt Test objects in turn; returns non-zero when any failed.
int RunTestObjects(int argc, char** argv, std::initializer_list<QObject*> tests);
