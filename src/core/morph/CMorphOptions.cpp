#include "CMorphOptions.h"

#include <cstring>

bool CMorphOptions::ParseEase(const char* word, Ease& out)
{
    if (word == nullptr) return false;
    if (std::strcmp(word, "linear") == 0) {
        out = Ease::kLinear;
    } else if (std::strcmp(word, "smooth") == 0) {
        out = Ease::kSmooth;
    } else {
        return false;
    }
    return true;
}

bool CMorphOptions::ParseEdge(const char* word, Edge& out)
{
    if (word == nullptr) return false;
    if (std::strcmp(word, "black") == 0) {
        out = Edge::kBlack;
    } else if (std::strcmp(word, "extend") == 0) {
        out = Edge::kExtend;
    } else {
        return false;
    }
    return true;
}

bool CMorphOptions::ParseQuality(const char* word, Quality& out)
{
    if (word == nullptr) return false;
    if (std::strcmp(word, "classic") == 0) {
        out = Quality::kClassic;
    } else if (std::strcmp(word, "smooth") == 0) {
        out = Quality::kSmooth;
    } else {
        return false;
    }
    return true;
}
