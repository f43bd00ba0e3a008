#pragma once
// A tone to get the user's attention (Win32 Beep). The window layer installs the function that
// sounds it; without one nothing sounds. Tests read the tones asked for from the layer's hooks.

#include <cstdint>

namespace host {

using BeepFunction = void (*)(uint32_t frequency, uint32_t durationMs);

// Installs the function that sounds tones; nullptr removes it.
void SetBeepFunction(BeepFunction function);

// Sounds a tone of `frequency` Hz for `durationMs` milliseconds, where the desk can.
void Beep(uint32_t frequency, uint32_t durationMs);

}  // namespace host
