// The standard-model searches' state as other commands prepare it.
#pragma once

// Prepares the search state without searching: 0, 1 without a search context, 2 (after the
// report) while "Super" is off.
int initSearchMemory();
