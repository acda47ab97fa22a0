#pragma once
// What the window asks of every tab page. A page owns its widgets: the window only calls these,
// in one loop over the pages, and never reaches inside.

namespace zr::link
{
class MeterLink;
}

namespace zr::meter
{

class DeviceState;

// Operating modes decided once at start-up.
struct Modes {
    bool production = false;
    bool master = false;
    bool newPasswordAllowed = true;
};

class Page
{
public:
    virtual ~Page() = default;
    // Once, after applyModes: the page connects to the link and the meter's state.
    virtual void attach(link::MeterLink& link, DeviceState& device)
    {
        (void)link;
        (void)device;
    }
    // Display reset: forget everything shown about the meter; fixed captions stay.
    virtual void clearData() {}
    // The controls that need an answering meter.
    virtual void setMeterControlsEnabled(bool enabled) { (void)enabled; }
    virtual void applyModes(const Modes& modes) { (void)modes; }
    // Each tick of the send timer: no grid cell stays highlighted while the meter is polled.
    virtual void hideGridSelections() {}
};

} // namespace zr::meter
