# shellcheck shell=bash
# Job of scripts/wine-smoke.sh: under a window manager (openbox), one human
# against the computer with 2 seconds per move. The menu, the options, the
# match with its clock and the credits are each left for another window (the
# game's window is minimised) and come back to (the window manager restores
# it); the game must draw them again. Then Alt+F4.

openbox="" other=""
if start_window_manager openbox --sm-disable; then
  openbox=${background[-1]}
  printf '\x90\xe1\x40\x00\x01\x02\x06\x02\x01\x00\x00\x00' >"$work/game/setting.dat"
  one_human_bytes=$(hex_of "$work/game/setting.dat")
  xmessage -geometry 300x80+250+260 'inny program' >/dev/null 2>&1 &
  other=$!
  background+=("$other")
  start_wolby
fi
if window_manager_running && wait_for 30 "the menu under openbox" menu_shown; then
  check "openbox: the window \"Wolby\" 800x600 at (0, 0)" window_over_screen
  game_unmapped() { xwininfo -id "$(game_window)" 2>/dev/null | grep -q IsUnMapped; }
  # away <screen>: the other program is activated; the game's window is minimised.
  # The activation is asked again while waiting: on a busy machine the first
  # request can reach the window manager before it is ready for it.
  other_activated() {
    xdotool windowactivate "$(xdotool search --name '^xmessage$' | head -n 1)" 2>/dev/null
    sleep 0.3
    game_unmapped
  }
  away() {
    check "openbox, $1: another window activated, the game's minimised" wait_for 10 "the game minimised" other_activated
  }
  back() { xdotool windowactivate "$(game_window)" 2>/dev/null; }
  # whole_screen_back <shot>: the screen is again exactly as in the shot.
  whole_screen_back() { shot "$1-back" && same_region "$1" "$1-back" 800x600+0+0; }

  xdotool mousemove 300 200
  wait_for 5 "the marker" not_black 265 195
  shot 11-menu
  away menu && back
  check "openbox: the menu with its marker drawn again" wait_for 10 "the menu again" whole_screen_back 11-menu

  xdotool mousemove 300 250 click 1
  wait_for 10 "the options screen" not_black 25 300 && wait_for 5 "the options texts" labels_drawn 11-options
  away options && back
  check "openbox: the options drawn again" wait_for 10 "the options again" whole_screen_back 11-options
  xdotool key Escape
  check "openbox: ESC from the options: the menu" wait_for 10 "the menu after ESC" black 25 300

  # The board's squares as "empty player1 player2 other", by the colour of their middles.
  board_counts() {
    local format="" c r
    for c in 0 1 2 3 4 5; do
      for r in 0 1 2 3 4 5; do format+="%[pixel:p{$(disc_x $c),$(disc_y $r)}]\n"; done
    done
    convert "$work/shots/$1.png" -format "$format" info: | sed -E 's/[^0-9,]//g' |
      awk -F, -v empty="$2" -v p1="${player1[*]}" -v p2="${player2[*]}" -v t="$colour_tolerance" '
        function near(list,  v) { split(list, v, " "); return (($1-v[1])^2 <= t^2 && ($2-v[2])^2 <= t^2 && ($3-v[3])^2 <= t^2) }
        { if ($0 == empty) e++; else if (near(p1)) a++; else if (near(p2)) b++; else o++ }
        END { printf "%d %d %d %d\n", e, a, b, o }'
  }
  xdotool mousemove 300 200 click 1
  wait_for 10 "the board" not_black "$(disc_x 0)" "$(disc_y 0)" &&
    wait_for 5 "the last opening disc" near "$(disc_x 3)" "$(disc_y 3)" "${player1[@]}"
  shot 11-start
  empty_square=$(convert "$work/shots/11-start.png" -format "%[pixel:p{$(disc_x 0),$(disc_y 0)}]" info: | sed -E 's/[^0-9,]//g')
  xdotool mousemove "$(square_x 1)" "$(square_y 3)" click 1
  wait_for 5 "the turned disc" near "$(disc_x 2)" "$(disc_y 3)" "${player1[@]}"
  shot 11-match
  read -r _ _ before2 _ <<<"$(board_counts 11-match "$empty_square")"
  # Away for 4.5 s: the computer answers, the person's 2 seconds run out, and
  # the computer moves again.
  away match
  sleep 4.5
  back
  frame_and_labels_back() {
    shot 11-match-back || return 1
    local region
    for region in 50x600+0+0 50x600+550+0 50x600+750+0 800x50+0+0 800x50+0+550 90x17+620+200 90x17+620+340; do
      same_region 11-match 11-match-back "$region" || return 1
    done
  }
  check "openbox: the frame and the players' labels drawn again" \
    wait_for 10 "the match again" frame_and_labels_back
  read -r empty ones twos others <<<"$(board_counts 11-match-back "$empty_square")"
  check "openbox: every square drawn again ($empty empty, $ones + $twos discs, $others other)" \
    test "$others" = 0 -a $((empty + ones + twos)) = 36
  check "openbox: the computer moved while the game was away (player 2: $before2 -> $twos discs)" \
    test "$twos" -gt "$before2"
  scores_back() { text_in 11-match-back 90x17+620+240 && text_in 11-match-back 90x17+620+390; }
  check "openbox: both scores written again" scores_back
  clock_changed() { shot 11-clock-b && ! same_region 11-clock-a 11-clock-b 130x17+620+120; }
  # The result's lines reach past the 6 x 6 board onto the black beside it.
  match_decided() { text_in 11-clock-b 30x15+410+231; }
  tick_or_end() { clock_changed || match_decided; }
  clock_runs() {
    # Every tick changes the line: its seconds, or its colour when the turn passed.
    # The computer, playing while the person waits, may end the match first:
    # then the clock stops as at every end, and the computer's move shows the
    # timers ran on after coming back.
    shot 11-clock-a && wait_for 5 "the clock's next tick" tick_or_end && text_in 11-clock-b 130x17+620+120
  }
  check "openbox: the clock goes on after coming back" clock_runs
  xdotool key Escape
  check "openbox: ESC from the match: the menu" \
    wait_for 10 "the menu after the match" black "$(disc_x 0)" "$(disc_y 0)"

  xdotool mousemove 300 300 click 1
  wait_for 10 "the credits" not_black 50 300
  credits_drawn() { shot 11-credits && text_in 11-credits 250x230+290+95; }
  wait_for 5 "the credits' lines" credits_drawn
  away credits && sleep 1 && back
  credits_back() {
    shot 11-credits-back && same_region 11-credits 11-credits-back 100x600+0+0 &&
      same_region 11-credits 11-credits-back 100x600+700+0 && text_in 11-credits-back 250x230+290+95
  }
  check "openbox: the credits' strips and lines drawn again" wait_for 10 "the credits again" credits_back
  credits_moved() { shot 11-credits-b && ! same_region 11-credits-a 11-credits-b 250x230+290+95; }
  credits_move() { shot 11-credits-a && wait_for 5 "the credits' next step" credits_moved; }
  check "openbox: the credits go on moving" credits_move
  xdotool key Escape
  wait_for 10 "the menu after the credits" black 50 300

  xdotool key alt+F4
  ended_within 15
  check "openbox: Alt+F4 ends the program, exit status 1 (got $status)" test "$status" = 1
  bytes=$(hex_of "$work/game/setting.dat")
  check "openbox: setting.dat untouched by ESC and Alt+F4 (got ${bytes:-nothing})" test "$bytes" = "$one_human_bytes"
fi
kill "$other" "$openbox" 2>/dev/null
