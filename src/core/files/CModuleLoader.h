#pragma once

#include <string>

// Finds and loads a module of the programs (a shared library they open only
// when it is used) and the function it makes its objects with. The module
// is looked for in $TREVALIN_MODULE_DIR, beside the program, and in
// `installedDir` relative to the program's folder (where the installed
// programs keep it). A module once loaded stays loaded.
class CModuleLoader {
public:
    // The address of `entryName` in the module `fileName`, or null with
    // `whyNot` telling what was tried or what the loader said.
    static void* FindEntry(const char* fileName, const char* entryName, const char* installedDir, std::string& whyNot);
};
