#include "CText.h"

#include <vector>

std::string CText::Fill(const char* pattern, const std::vector<std::string>& values)
{
    std::string text;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
            const size_t index = static_cast<size_t>(p[1] - '1');
            if (index < values.size()) {
                text += values[index];
                ++p;
                continue;
            }
        }
        text += *p;
    }
    return text;
}
