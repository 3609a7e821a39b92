#pragma once
// Points this program's import of one function at a replacement for as long as
// it lives: a test seam for calls the product makes into Windows whose effect
// Wine cannot show (the product's code is linked into the test program).
#include <windows.h>

class ImportPatch {
public:
    ImportPatch(const wchar_t* library, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False when this program does not import the function.
    bool Applied() const { return m_slot != nullptr; }

private:
    void Write(void* value);

    void* m_original = nullptr;
    void** m_slot = nullptr;
};
