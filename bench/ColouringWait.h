#pragma once

class CUltraEditView;

// Lets a view's colouring finish the work it does at idle, so that a measurement
// that follows starts from a view at rest, as after a pause of the user's.
class ColouringWait
{
public:
    static void untilIdle(CUltraEditView &view);
};
