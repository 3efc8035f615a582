#!/usr/bin/env bash
# Draws a desktop to capture, 1920x1080: a wallpaper, a document window with
# text and a chart window, as PNG at $1.
set -euo pipefail
out=${1:?output png}
fonts=/usr/share/fonts/truetype/liberation
sans="$fonts/LiberationSans-Regular.ttf"
bold="$fonts/LiberationSans-Bold.ttf"
mono="$fonts/LiberationMono-Regular.ttf"
text_lines=(
  "Snapcrest release notes"
  ""
  "- Capture any part of the screen: drag out a selection,"
  "  then move it or resize it with its eight handles."
  "- Mark it up with rectangles, ellipses, arrows, free-hand"
  "  strokes and typed text, in any colour and width."
  "- Double-click, or press Finish, to copy the picture to"
  "  the clipboard; Save writes it as a PNG file."
  ""
  "Shortcuts"
  "  Ctrl+Shift+A     start a capture"
  "  Arrow keys       nudge the selection by one pixel"
  "  Ctrl+Z           undo the newest mark"
  "  Esc              leave without copying"
)
draw_text=()
y=260
for line in "${text_lines[@]}"; do
    if [ -n "$line" ]; then draw_text+=(-annotate "+330+$y" "$line"); fi
    y=$((y + 30))
done
convert -size 1920x1080 gradient:'#1d3557-#457b9d' \
  \( -size 1920x1080 radial-gradient:'#a8dadc80-#00000000' \) -compose over -composite \
  -fill '#00000055' -draw "roundrectangle 296,166 1136,766 8,8" \
  -fill '#f8f9fa' -draw "roundrectangle 290,160 1130,760 8,8" \
  -fill '#264653' -draw "roundrectangle 290,160 1130,200 8,8" -draw "rectangle 290,190 1130,200" \
  -fill '#e63946' -draw "circle 1105,180 1111,180" -fill '#f4a261' -draw "circle 1085,180 1091,180" \
  -fill '#2a9d8f' -draw "circle 1065,180 1071,180" \
  -font "$bold" -pointsize 18 -fill white -annotate +310+187 "release-notes.txt - Editor" \
  -font "$mono" -pointsize 19 -fill '#1d3557' "${draw_text[@]}" \
  -fill '#00000055' -draw "roundrectangle 1226,446 1786,906 8,8" \
  -fill white -draw "roundrectangle 1220,440 1780,900 8,8" \
  -fill '#264653' -draw "roundrectangle 1220,440 1780,480 8,8" -draw "rectangle 1220,470 1780,480" \
  -font "$bold" -pointsize 18 -fill white -annotate +1240+467 "Captures per week" \
  -fill '#e9c46a' -draw "rectangle 1270,760 1330,860" -fill '#f4a261' -draw "rectangle 1360,700 1420,860" \
  -fill '#e76f51' -draw "rectangle 1450,620 1510,860" -fill '#2a9d8f' -draw "rectangle 1540,560 1600,860" \
  -fill '#264653' -draw "rectangle 1630,520 1690,860" -stroke '#adb5bd' -draw "line 1250,861 1750,861" -stroke none \
  -font "$sans" -pointsize 16 -fill '#495057' \
  -annotate +1282+885 "W1" -annotate +1372+885 "W2" -annotate +1462+885 "W3" -annotate +1552+885 "W4" -annotate +1642+885 "W5" \
  -fill '#ffffffcc' -draw "rectangle 0,1040 1920,1080" -font "$sans" -pointsize 18 -fill '#1d3557' \
  -annotate +24+1067 "Start" -annotate +1800+1067 "12:30" \
  "$out"
