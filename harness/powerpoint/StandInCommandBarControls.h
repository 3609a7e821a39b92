#pragma once
// A toolbar's Controls collection: adds buttons.
#include "AutomationObject.h"

class StandInApplication;
class StandInCommandBar;

class StandInCommandBarControls : public AutomationObject {
public:
    StandInCommandBarControls(StandInApplication& application, StandInCommandBar& bar);

private:
    StandInApplication& m_application;
    StandInCommandBar& m_bar;
};
