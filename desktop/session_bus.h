#pragma once
// Whether this desktop session has a bus of its own.

// An address the session was given, or the socket a systemd user session
// keeps. Without one, D-Bus would start a bus of its own for the player,
// which is not what running the player should do; the player then stays off
// the bus and says nothing.
bool SessionBusThere();
