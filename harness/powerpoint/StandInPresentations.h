#pragma once
// The Presentations collection: opens decks.
#include "AutomationObject.h"

class StandInApplication;

class StandInPresentations : public AutomationObject {
public:
    explicit StandInPresentations(StandInApplication& application);

private:
    StandInApplication& m_application;
};
