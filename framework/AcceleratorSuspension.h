#pragma once

// While an object of this class lives, no keyboard shortcut starts a command: keys
// go to the focused control as plain keys. A tool run holds one so that a stray
// shortcut cannot start a second run or change the document underneath it; menus
// keep working.
class AcceleratorSuspension
{
public:
    AcceleratorSuspension() { ++depth(); }
    ~AcceleratorSuspension() { --depth(); }
    AcceleratorSuspension(const AcceleratorSuspension &) = delete;
    AcceleratorSuspension &operator=(const AcceleratorSuspension &) = delete;

    static bool isActive() { return depth() > 0; }

private:
    static int &depth()
    {
        static int count = 0;
        return count;
    }
};
