// The commands around the output file names of the current theory: "finish", which writes the
// job marker ".finish" under the name of the current theory, extension and invariant, and
// "assign extension_number", which sets the extension number those names carry.
#pragma once

// Hands the commands over to the registration.
void installFileNameCommands();

int COM_finish(void** commands, int parnum);
int COM_assign_extension(void** commands, int parnum);
