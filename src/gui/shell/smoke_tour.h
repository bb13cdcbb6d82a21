#pragma once

namespace zt::gui {

class MainWindow;

// A self-driven walk through the program for the smoke test under a real X
// server: waits for a click on the channel grid's group list (printed as
// "smoke: click X Y" for an outside tool such as xdotool; after 5 seconds
// without one it clicks the list itself), then chooses every menu command,
// clicks into every window it opened, closes whatever dialog or message comes
// up (with No or Cancel) and closes the main window. Prints "smoke: done" and
// the number of commands chosen; returns the program's exit status.
int runSmokeTour(MainWindow& main);

}  // namespace zt::gui
