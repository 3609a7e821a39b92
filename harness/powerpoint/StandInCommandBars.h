#pragma once
// The CommandBars collection and its toolbars.
#include <string>
#include <vector>

#include "AutomationObject.h"
#include "ComRef.h"

class StandInApplication;
class StandInCommandBar;

class StandInCommandBars : public AutomationObject {
public:
    explicit StandInCommandBars(StandInApplication& application);
    ~StandInCommandBars() override;

    size_t Count() const { return m_bars.size(); }
    StandInCommandBar& At(size_t index) const { return *m_bars[index].Get(); }

private:
    StandInApplication& m_application;
    std::vector<ComRef<StandInCommandBar>> m_bars;
};
