#pragma once
// The Presentations collection: opens decks.
#include "AutomationObject.h"

class StandInApplication;

class StandInPresentations : public AutomationObject {
public:
    explicit StandInPresentations(StandInApplication& application);

private:
    static void CheckOpenArguments(const AutomationArgs& args);

    StandInApplication& m_application;
};
