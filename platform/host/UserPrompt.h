#pragma once
// Where code below the window layer asks the user something. The window layer installs its
// message box here when its application object starts; until then (a program or test without
// windows) the text goes to standard error and the style's first button is the answer.
// Style bits and answers are Win32's (0 OK, 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No; 1 OK,
// 2 Cancel, 6 Yes, 7 No).

#include <cstdint>
#include <string>

namespace host {

using PromptFunction = int (*)(const std::string& text, uint32_t style, uint32_t help);

// Installs the function that shows prompts; nullptr puts the fallback back.
void SetPromptFunction(PromptFunction function);

// Shows `text` (Windows-1252) with the buttons of `style` and gives the button chosen.
int PromptUser(const std::string& text, uint32_t style, uint32_t help = 0);

}  // namespace host
