#pragma once

#include <iosfwd>

class CCliLanguage;
class CTrevalinDoc;

// trevalin-render --auto-face: gives a project without feature lines the
// line pairs of the largest face in each picture (CFaceJob), for this run
// only; the project file is not changed. A project with lines keeps them.
class CAutoFace {
public:
    // Adds the face lines to `doc` when it has none, telling on `err` what
    // was done. False, after telling why, when a picture shows no face or
    // no face can be looked for (no model, no face module).
    static bool Apply(CTrevalinDoc& doc, std::ostream& err, const CCliLanguage& language);
};
