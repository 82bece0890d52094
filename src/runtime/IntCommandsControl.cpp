// Stand-ins until the control-flow commands are built: each reports that it is not available.
#include "runtime/IntCommandsControl.h"

#include "runtime/Error.h"

namespace {
int notAvailable(const char* name) {
    Alert(name, 0, 100302, "Command not available yet");
    return 1;
}
} // namespace

int COM_CPU(void**, int) { return notAvailable("COM_CPU"); }

int COM_continue(void**, int) { return notAvailable("COM_continue"); }

int COM_file_append(void**, int) { return notAvailable("COM_file_append"); }

int COM_file_off(void**, int) { return notAvailable("COM_file_off"); }

int COM_file(void**, int) { return notAvailable("COM_file"); }

int COM_for(void**, int) { return notAvailable("COM_for"); }

int COM_help(void**, int) { return notAvailable("COM_help"); }

int COM_if(void**, int) { return notAvailable("COM_if"); }

int COM_load(void**, int) { return notAvailable("COM_load"); }

int COM_prompt(void**, int) { return notAvailable("COM_prompt"); }

int COM_quit(void**, int) { return notAvailable("COM_quit"); }

int COM_repeat(void**, int) { return notAvailable("COM_repeat"); }

int COM_reseterrors(void**, int) { return notAvailable("COM_reseterrors"); }

int COM_show_Errors(void**, int) { return notAvailable("COM_show_Errors"); }

int COM_system(void**, int) { return notAvailable("COM_system"); }

int COM_terminal_off(void**, int) { return notAvailable("COM_terminal_off"); }

int COM_terminal_on(void**, int) { return notAvailable("COM_terminal_on"); }

int COM_verify(void**, int) { return notAvailable("COM_verify"); }

int COM_while(void**, int) { return notAvailable("COM_while"); }
