#pragma once
// Loads the registered add-ins as PowerPoint does: every subkey of
// Software\Microsoft\Office\PowerPoint\Addins under HKCU (this user's) and HKLM
// (every user's) with LoadBehavior 3 is created in-process by its ProgID and
// connected, an add-in under both once; at exit each is told and released.
#include <oaidl.h>

#include <string>
#include <vector>

#include "ComRef.h"
#include "Extensibility.h"

class AddinLoader {
public:
    struct Loaded {
        std::wstring progId;
        ComRef<_IDTExtensibility2> addin;
        HRESULT connection;
    };

    void LoadAll(IDispatch* application);
    void UnloadAll();
    const std::vector<Loaded>& Addins() const { return m_loaded; }
    // ProgIDs whose creation failed, with the failure.
    const std::vector<std::pair<std::wstring, HRESULT>>& Failures() const { return m_failures; }

private:
    void Load(const std::wstring& progId, IDispatch* application);

    std::vector<Loaded> m_loaded;
    std::vector<std::pair<std::wstring, HRESULT>> m_failures;
};
