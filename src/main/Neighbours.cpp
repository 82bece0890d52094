#include "main/Neighbours.h"

// ============================================================ Standard-model searches

void initializeZNX_SearchSM() {}
