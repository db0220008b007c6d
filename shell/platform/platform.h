// The platform layer: every operation the game asks of its platform, under the
// platform's own names. The game's code calls only what is declared here; each
// backend (SDL for the real window, headless for tests) implements it.
#pragma once

namespace platform {

// Message boxes. Texts are code page 1250 byte strings.
constexpr unsigned MB_OK = 0;
constexpr unsigned MB_YESNO = 4;
constexpr unsigned MB_ICONHAND = 16;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a modal box and answers the button chosen (IDOK, IDYES or IDNO).
int MessageBox(const char* text, const char* caption, unsigned type);

}  // namespace platform
