#!/usr/bin/env bash
# Takes the software-centre screenshot, scrivlo-main-window.png: the program showing newsletter.rtf,
# on a virtual display, reduced to 64 colours to keep it small.
# Usage: resources/screenshots/take-screenshot.sh [PROGRAM] (default build/bin/scrivlo).
# Needs xvfb, xdotool and ImageMagick.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="$(realpath "${1:-$here/../../build/bin/scrivlo}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Documents"
cp "$here/newsletter.rtf" "$work/Documents/"

cat > "$work/shoot.sh" <<SHOOT
#!/usr/bin/env bash
set -euo pipefail
export HOME="$work" XDG_CONFIG_HOME="$work/.config"
"$program" "$work/Documents/newsletter.rtf" &
pid=\$!
sleep 5   # the splash window stays 2 s; then the frame opens the document
window=\$(xdotool search --onlyvisible --pid \$pid | head -1)
xdotool windowsize \$window 720 500
sleep 1
import -window \$window -strip "$work/shot.png"
kill \$pid
SHOOT
chmod +x "$work/shoot.sh"
xvfb-run -a -s "-screen 0 900x640x24" "$work/shoot.sh"
convert "$work/shot.png" -colors 64 -strip "PNG8:$here/scrivlo-main-window.png"
