// The commands of the tadpole conditions.
#pragma once

void installTadpoleCommands();
