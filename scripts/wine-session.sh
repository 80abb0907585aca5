#!/usr/bin/env bash
# A throw-away Wine session for tests and the main command:
#   eval "$(scripts/wine-session.sh start DIR)"   creates DIR/prefix, starts Xvfb when
#                                                 there is no DISPLAY, prints the exports
#   scripts/wine-session.sh stop DIR              stops Wine and Xvfb, removes DIR
# The prefix is set up as a Chinese Windows would be: code page 936 through the locale,
# Wine's own fonts, and a font link that gives the dialog font Chinese glyphs.
set -euo pipefail

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
ROOT=$(cd "$(dirname "$0")/.." && pwd)

free_display() {
  local n
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then echo "$n"; return; fi
  done
  echo "no free X display" >&2; return 1
}

session_exports() {
  local dir=$1
  cat <<EOS
export WINEPREFIX='$dir/prefix'
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
export LC_ALL=zh_CN.UTF-8
export DISPLAY='$DISPLAY'
export ZSR_WINE_SESSION='$dir'
export ZSR_URL_JOURNAL='$dir/urls.txt'
EOS
}

reg_add() { "$WINE" reg add "$@" /f >/dev/null 2>&1; }

# Web addresses opened through the shell go to the URL recorder (a stand-in that appends
# them to $ZSR_URL_JOURNAL) instead of a browser. ZSR_URL_RECORDER names the recorder of
# another build tree; the default is the one of the main x64 build. It need not exist yet.
register_url_recorder() {
  local recorder=${ZSR_URL_RECORDER:-$ROOT/build/x64/bin/standins/urlrecorder.exe}
  local windows_path
  windows_path=$("$WINE" winepath -w "$recorder" </dev/null 2>/dev/null | tr -d '\r') || true
  [ -n "$windows_path" ] || windows_path="Z:${recorder//\//\\}"
  local scheme
  for scheme in http https; do
    reg_add "HKCR\\$scheme\\shell\\open\\command" /ve /t REG_SZ /d "\"$windows_path\" \"%1\""
  done
}

start() {
  local dir=$1
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  if [ -z "${DISPLAY:-}" ]; then
    local n; n=$(free_display)
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! > "$dir/xvfb.pid"
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  eval "$(session_exports "$dir")"
  session_exports "$dir" > "$dir/session.env"

  # Everything Wine starts here outlives this script: keep it off our output streams.
  "$WINE" wineboot -i </dev/null >/dev/null 2>&1
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true

  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  ln -sf /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
  ln -sf /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc "$fonts/" 2>/dev/null || true

  reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
  reg_add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
  reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v Tahoma /t REG_MULTI_SZ /d 'wqy-zenhei.ttc,WenQuanYi Zen Hei'
  reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v 'Microsoft Sans Serif' /t REG_MULTI_SZ /d 'wqy-zenhei.ttc,WenQuanYi Zen Hei'
  reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96
  register_url_recorder

  session_exports "$dir"
}

stop() {
  local dir=$1
  [ -d "$dir" ] || return 0
  dir=$(cd "$dir" && pwd)
  if [ -f "$dir/session.env" ]; then
    # shellcheck disable=SC1091
    . "$dir/session.env"
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
  fi
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
  fi
  rm -rf "$dir"
}

case "${1:-}" in
  start) start "${2:?session folder}" ;;
  stop) stop "${2:?session folder}" ;;
  *) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
