#pragma once

#include <vector>

// Every template of the core's composed texts (CText::Fill), so that a
// composed text can be taken apart into its template and values again: the
// GUI shows it with the template translated and the values as they are.
class CTextCatalog {
public:
    static const std::vector<const char*>& Patterns();
};
