// The settings' question and notice as the platform's message boxes.
#pragma once

#include "settings/settings_dialogs.h"

// The question has no owner (it comes before the window); the notice of a failed
// save is owned by the game window, so that it stays over the game and no click
// reaches the game while it shows.
SettingsDialogs& MessageBoxDialogs();
