// Error questions and the progress display of long loops.
#pragma once

// Asks the user about a message; 1 default answer, 0 second, -1 third, -4 "Scroll".
int NXRunAlertPanel(const char* title, const char* msg, const char* defaultButton,
                    const char* alternateButton, const char* otherButton, ...);
void initializeTerminal();
// Wipes the progress line standing on the terminal, if a display is running.
void clearProgressLine();
