# What the launcher's tests share: the installed tree staged with DESTDIR
# into "$work/stage", and running as a player. Root is kept out of no folder
# by its mode, so under root the launcher runs as nobody, and the folders a
# test makes for the player are given to nobody. Source it; set `work` and
# `build` first.

stage_install() {
  DESTDIR=$work/stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; echo "FAIL: install"; exit 1; }
  launcher=$work/stage/usr/games/wolby
  seed=$work/stage/usr/share/wolby/setting.dat
  installed_sheet=$work/stage/usr/share/wolby/zdj/15.bmp
  [ -x "$launcher" ] || { echo "FAIL: no launcher at usr/games/wolby"; exit 1; }
}

as_player=()
if [ "$(id -u)" = 0 ]; then
  as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
  chmod 755 "$work"
fi
# player_dir <folder...>: new folders that belong to the player.
player_dir() {
  mkdir -p "$@" || return 1
  if [ ${#as_player[@]} -gt 0 ]; then chown 65534:65534 "$@"; fi
}
