// The commands of brane spectra: "browse brane-spectrum" and "check susy_locality".
#pragma once

void installBraneSpectrumCommands();
