// The real game's entry point: the SDL backend supplies the platform.
#include "shell/win_main.h"

int main() { return WinMain(); }
