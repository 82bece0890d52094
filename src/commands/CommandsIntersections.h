// The commands of chiral intersections: "Intersect", "branescan" and "build brane_configuration".
#pragma once

void installIntersectionCommands();
