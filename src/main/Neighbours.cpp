#include "main/Neighbours.h"

// ============================================================ Standard-model searches

void initializeSearchSM() {}
