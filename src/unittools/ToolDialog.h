#pragma once

#include "unittools/KeyRouting.h"
#include "unittools/ToolHub.h"

#include <optional>

namespace fenwold {

// What every tool window asks of the window around it.
class ToolWindowHost {
public:
    // Destroys the window at once; the window tells its tool (OnDestroy) while it goes.
    virtual void DestroyWindow() = 0;

protected:
    ~ToolWindowHost() = default;
};

// A tool window's object: the main frame keeps it for the whole session, with the settings it
// holds, while its window exists only from one Tools command to the next (or its close box).
// While the window exists the tool is registered with the hub, which feeds it, and with the key
// router when it takes raw keys.
class ToolDialog : public ToolWindowClient {
public:
    // A tool that is not `fedByHub` is handed its animations by the window that opened it and
    // is only known to the key router.
    ToolDialog(ToolHub& hub, ToolWindow tool, KeyRouter& keys, std::optional<KeySlot> keySlot,
               bool fedByHub = true)
        : hub_(hub), keys_(keys), tool_(tool), keySlot_(keySlot), fedByHub_(fedByHub) {}
    ~ToolDialog() override;
    ToolDialog(const ToolDialog&) = delete;
    ToolDialog& operator=(const ToolDialog&) = delete;

    bool IsWindowOpen() const { return windowHost_ != nullptr; }
    ToolWindow Tool() const { return tool_; }

    // The window goes (the window calls it as it is destroyed): what the window showed is let go,
    // and the hub and the key router forget it.
    void OnDestroy();
    // The hub closes the window: its source view or document went, or the Tools command.
    void CloseWindow() final;

protected:
    // Lets go of everything the window showed; the tool's own settings stay.
    virtual void ReleaseWindowState() = 0;
    ToolHub& Hub() { return hub_; }
    // The window now exists: the hub and the key router know it. A window already open in this
    // tool's place is closed first.
    void Register(ToolWindowHost& host, KeyTarget* keyTarget);

private:
    void Unregister();

    ToolHub& hub_;
    KeyRouter& keys_;
    ToolWindow tool_;
    std::optional<KeySlot> keySlot_;
    bool fedByHub_;
    ToolWindowHost* windowHost_ = nullptr;
    KeyTarget* keyTarget_ = nullptr;
    ToolWindowRegistration registration_;
};

} // namespace fenwold
