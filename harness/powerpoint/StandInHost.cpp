#include "StandInHost.h"

#include "DefaultPrinter.h"
#include "OfficeIds.h"
#include "StandInClassFactory.h"
#include "StandInPresentation.h"

StandInHost::StandInHost(const StandInOptions& options)
    : m_application(ComRef<StandInApplication>::Attach(new StandInApplication(options))) {
    if (options.noDefaultPrinter) DefaultPrinter::Clear();
    m_window = std::make_unique<StandInWindow>(*m_application.Get());
    if (!options.deck.empty()) {
        try {
            m_application->OpenPresentation(options.address.empty() ? options.deck : options.address, false);
            m_application->Active()->SetSaved(!options.modified);
        } catch (const AutomationError&) {
        }
    }
    auto* factory = new StandInClassFactory(m_application.Get());
    m_registration = CoRegisterClassObject(OfficeIds::CLSID_Application, factory, CLSCTX_LOCAL_SERVER,
                                           REGCLS_MULTIPLEUSE, &m_cookie);
    factory->Release();
    if (options.loadAddins) m_addins.LoadAll(m_application.Get(), options.ribbon);
    m_window->ShowRibbon(m_addins.ShownRibbons());
    if (options.busySeconds > 0) m_busy = std::make_unique<StandInBusyFilter>(options.busySeconds);
}

StandInHost::~StandInHost() {
    m_busy.reset();
    m_window->ShowRibbon({});  // its buttons name the add-ins' ribbons
    m_addins.UnloadAll();
    if (SUCCEEDED(m_registration)) CoRevokeClassObject(m_cookie);
    m_window.reset();
}
