#pragma once
// The IRibbonUI PowerPoint hands to a markup's onLoad: an add-in keeps it to
// ask for its controls to be drawn again. This one counts those requests.
#include "AutomationObject.h"

class StandInRibbonUI : public AutomationObject {
public:
    StandInRibbonUI();

    int Invalidations() const { return m_invalidations; }

private:
    int m_invalidations = 0;
};
