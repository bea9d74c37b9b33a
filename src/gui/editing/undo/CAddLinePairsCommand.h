#pragma once

#include "geometry/CFeaturePoint.h"

#include <QString>
#include <QUndoCommand>
#include <array>
#include <cstdint>
#include <vector>

class CDocChangeSignals;
class CTrevalinDoc;

// Line pairs made at once (the automatic face lines), one step: redo
// appends them after the lines there (line i of `lines[0]` to the source,
// line i of `lines[1]` to the target, each a two-point line); undo takes
// them out again.
class CAddLinePairsCommand : public QUndoCommand {
public:
    using Line = std::array<CFeaturePoint, 2>;

    CAddLinePairsCommand(CTrevalinDoc& doc, CDocChangeSignals& changes, const QString& text,
                         std::array<std::vector<Line>, 2> lines);

    void undo() override;
    void redo() override;

private:
    CTrevalinDoc& m_doc;
    CDocChangeSignals& m_changes;
    std::array<std::vector<Line>, 2> m_lines;
    int32_t m_first = 0; // the index of the first pair added
};
