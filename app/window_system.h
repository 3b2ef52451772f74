#pragma once
// How the player's window meets the window system, set before the application
// object is made.

// Under X11, Qt hands repaints to the server through shared memory and then
// waits for the server's round trip and its completion event before the next
// paint: three wake-ups a tick for a window whose repaints are a meter line
// and a slider, a few kilobytes that cost less to send on the connection.
// Turned off unless the user's environment sets it either way; nothing changes
// elsewhere (Wayland, offscreen).
void PrepareWindowSystem();
