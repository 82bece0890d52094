// Control-flow, help and run-control commands.
#pragma once

int COM_CPU(void** params, int parnum);
int COM_continue(void** params, int parnum);
int COM_file_append(void** params, int parnum);
int COM_file_off(void** params, int parnum);
int COM_file(void** params, int parnum);
int COM_for(void** params, int parnum);
int COM_help(void** params, int parnum);
int COM_if(void** params, int parnum);
int COM_load(void** params, int parnum);
int COM_prompt(void** params, int parnum);
int COM_quit(void** params, int parnum);
int COM_repeat(void** params, int parnum);
int COM_reseterrors(void** params, int parnum);
int COM_show_Errors(void** params, int parnum);
int COM_system(void** params, int parnum);
int COM_terminal_off(void** params, int parnum);
int COM_terminal_on(void** params, int parnum);
int COM_verify(void** params, int parnum);
int COM_while(void** params, int parnum);

// Prints a help text without the formula marks "$" and "@".
void printHelp(const char* string);
