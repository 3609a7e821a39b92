#pragma once
// Saves a picture of a window, as it is on screen, as a PNG file in the build
// tree's screenshots folder, for people to look at.
#include <windows.h>

#include <string>

class WindowShot {
public:
    // True when `name`.png was written.
    static bool Save(HWND window, const std::string& name);
};
