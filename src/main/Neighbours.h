// Stand-ins for the subsystems that start-up brings up but that are not built yet: the
// standard-model searches. Each section offers exactly what start-up calls; the
// subsystem, once built in its own layer, replaces its section. Nothing below the start-up reads
// them.
#pragma once

#include <cstdio>

// ---- Standard-model searches ----

void initializeZNX_SearchSM();
