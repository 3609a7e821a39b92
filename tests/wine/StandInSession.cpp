#include "StandInSession.h"

#include <objbase.h>
#include <ole2.h>

StandInSession::StandInSession(const StandInOptions& options) {
    OleInitialize(nullptr);
    m_host = std::make_unique<StandInHost>(options);
}

StandInSession::~StandInSession() {
    m_host.reset();
    OleUninitialize();
}
