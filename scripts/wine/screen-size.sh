# shellcheck shell=bash
# Job of scripts/wine-smoke.sh: on a 1024 x 768 screen the display cannot be
# set to 800 x 600: its message, then exit status 0. Wine's processes end
# first, so the game meets the new screen.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
if start_x 1024x768; then
  ends_after_message 12-display-mode "the display mode's message" "1024 x 768 screen: the display mode's message"
fi
