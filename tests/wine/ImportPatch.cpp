#include "ImportPatch.h"

ImportPatch::ImportPatch(const wchar_t* library, const char* function, void* replacement, HMODULE importer) {
    HMODULE exporter = GetModuleHandleW(library);
    if (!exporter) return;
    m_original = reinterpret_cast<void*>(GetProcAddress(exporter, function));
    if (!m_original) return;
    auto* base = reinterpret_cast<BYTE*>(importer ? importer : GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    // The bound address table holds the resolved entry, whether imported by name or ordinal.
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         imports.VirtualAddress && entry->Name && !m_slot; ++entry)
        for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk); thunk->u1.Function; ++thunk)
            if (reinterpret_cast<void*>(thunk->u1.Function) == m_original) {
                m_slot = reinterpret_cast<void**>(&thunk->u1.Function);
                break;
            }
    if (m_slot) Write(replacement);
}

ImportPatch::~ImportPatch() {
    if (m_slot) Write(m_original);
}

void ImportPatch::Write(void* value) {
    DWORD protection = 0;
    VirtualProtect(m_slot, sizeof(void*), PAGE_READWRITE, &protection);
    *m_slot = value;
    VirtualProtect(m_slot, sizeof(void*), protection, &protection);
}
