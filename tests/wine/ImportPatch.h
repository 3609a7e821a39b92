#pragma once
// Points a module's import of one function at a replacement for as long as it
// lives: a test seam for calls the product makes into Windows whose effect Wine
// cannot show, or that Wine accepts where Windows refuses them. The importer is
// this program (the product's code linked in) unless a loaded library is named.
#include <windows.h>

class ImportPatch {
public:
    ImportPatch(const wchar_t* library, const char* function, void* replacement, HMODULE importer = nullptr);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False when the importer does not import the function.
    bool Applied() const { return m_slot != nullptr; }

private:
    void Write(void* value);

    void* m_original = nullptr;
    void** m_slot = nullptr;
};
