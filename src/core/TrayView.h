#pragma once
// What the core tells the notification-area icon. The tray owner implements it and hands it to
// Core::SetTrayView; without one, the program runs with no icon.
namespace padwright {

class ITrayView {
public:
    virtual ~ITrayView() = default;
    // The reading switch changed: "Start Reading Data" is enabled exactly while `reading` is
    // false, "Stop Reading Data" exactly while it is true.
    virtual void ShowReadingState(bool reading) = 0;
    // Animation frame 0..3 as the icon.
    virtual void ShowFrame(int frame) = 0;
    // The application's still icon (reading paused).
    virtual void ShowStillIcon() = 0;
    // Whether a notification area shows the icon, so that animating it shows anything.
    virtual bool IconShown() const { return true; }
    // The program ends: the icon leaves the notification area.
    virtual void Remove() {}
};

} // namespace padwright
