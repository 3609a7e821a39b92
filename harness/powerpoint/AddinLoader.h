#pragma once
// Loads the registered add-ins as PowerPoint does: every subkey of
// Software\Microsoft\Office\PowerPoint\Addins under HKCU (this user's) and HKLM
// (every user's) with LoadBehavior 3 is created in-process by its ProgID and
// connected, an add-in under both once; at exit each is told and released. A
// host with the ribbon then asks each connected add-in for its ribbon markup.
#include <oaidl.h>

#include <memory>
#include <string>
#include <vector>

#include "ComRef.h"
#include "Extensibility.h"
#include "StandInRibbon.h"

class AddinLoader {
public:
    struct Loaded {
        std::wstring progId;
        ComRef<_IDTExtensibility2> addin;
        HRESULT connection;
        std::shared_ptr<StandInRibbon> ribbon;  // null without one; shown when its markup was taken
        bool ribbonShown = false;
    };

    void LoadAll(IDispatch* application, bool ribbon = false);
    // The ribbons whose groups show, in loading order.
    std::vector<StandInRibbon*> ShownRibbons() const;
    void UnloadAll();
    const std::vector<Loaded>& Addins() const { return m_loaded; }
    // ProgIDs whose creation failed, with the failure.
    const std::vector<std::pair<std::wstring, HRESULT>>& Failures() const { return m_failures; }

private:
    void Load(const std::wstring& progId, IDispatch* application, bool ribbon);

    std::vector<Loaded> m_loaded;
    std::vector<std::pair<std::wstring, HRESULT>> m_failures;
};
