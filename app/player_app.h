#pragma once
// The application object: start-up and shut-down of the player.

class CPlayerApp {
public:
    // Runs the main window until it closes; returns false, as nothing is left to run after it.
    bool InitInstance(int argc, char** argv);
};

namespace lirvan {
extern CPlayerApp theApp;
} // namespace lirvan
