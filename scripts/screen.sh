# Looking at the X screen from a check script: screenshots into `$shots`, a
# pixel's colour, and waiting a number of seconds for a condition. Source it
# after setting `shots` and DISPLAY.
shot() { import -window root "$shots/$1.png" 2>/dev/null; }
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -n 1 |
    sed -E 's/^[^(]*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/'
}
not_black() { local p; p=$(pixel "$1" "$2"); [ -n "$p" ] && [ "$p" != "0 0 0" ]; }
wait_for() {  # wait_for <seconds> <command...>
  local deadline=$(($(date +%s) + $1)); shift
  while [ "$(date +%s)" -lt "$deadline" ]; do "$@" && return 0; sleep 0.1; done
  return 1
}
