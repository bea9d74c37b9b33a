#pragma once

#include "document/CTrevalinDoc.h"

#include <cstdint>
#include <string>
#include <vector>

// Helpers shared by the document tests.
namespace doctest {

std::vector<uint8_t> Hex(const std::string& hex); // "06 5C 61" -> bytes

// Appends a line of the given points to image `image` of the document.
void AddLine(CTrevalinDoc& doc, int image, const std::vector<std::pair<int32_t, int32_t>>& points);

// Everything observable about a document: title, path, modified flag, the
// pictures (path, loaded flag, which image object) and every line slot with
// its points, labels and selection fields, spare slots included.
std::string Dump(const CTrevalinDoc& doc);

// The bytes Serialize stores for the document.
std::vector<uint8_t> Store(CTrevalinDoc& doc);

} // namespace doctest
