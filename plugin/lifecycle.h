#pragma once

// Starts the socket API (version 2.2): 0, or WSAStartup's error plus 100.
int StartSockets();
// Stops it; a stop without a start fails harmlessly. Always 0.
int StopSockets();

// The text of the information box that the root-name request shows.
extern const char* const aboutText;
