#!/usr/bin/env bash
# A screen scaled to 200 % (Xft.dpi 192, as desktops set it): the windows are twice the size and placed
# as at 100 %, and the map, skin and icons are the double-size pictures drawn pixel for pixel, not the
# plain ones scaled up.
SCREEN_W=2560 SCREEN_H=2048 TASKBAR_H=80
source "$(dirname "$0")/lib.sh"
DATA="$(dirname "$0")/../../data"

start_display
xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t192\n')"
start_feedsim --seed 11 --steps 1
prepare_saved_copies 11 0
start_warmap
check "the Warmap window shows" wait_for 20 has_visible_window "$MAIN_TITLE"
WINDOW=$(window_id "$MAIN_TITLE")
read -r wx wy ww wh < <(geometry "$WINDOW")
check "it is twice its size at 100 % (saw ${ww}x$wh)" test "$ww:$wh" = "936:1216"
check "the popup fades in" wait_for 20 popup_opaque
sleep 0.3
POPUP=$(window_id "$POPUP_TITLE")
read -r px py pw ph < <(geometry "$POPUP")
check "the popup is 560 pixels wide, 12 clear of the panel in the corner (saw $px,$py ${pw}x$ph)" \
    test "$pw:$((px + pw)):$((py + ph))" = "560:$((SCREEN_W - 12)):$((SCREEN_H - TASKBAR_H - 12))"
screenshot "$ARTIFACTS/map-200.png" "$WINDOW"
screenshot "$ARTIFACTS/popup-200.png" "$POPUP"

same_pixels() {  # same_pixels a b -> how many pixels differ
    { compare -metric AE "$1" "$2" null: 2>&1 || true; } | sed 's/ .*//'
}
# The compass corner of the map (no structure there): at map (50, 470), 60 x 45, the map starting 10
# right and 24 below the window's corner.
convert "$DATA/form/warmap@2x.jpg" -crop 120x90+100+940 +repage "$WORK/map-sharp.png"
convert "$ARTIFACTS/map-200.png" -crop 120x90+120+988 +repage "$WORK/map-shown.png"
check "the map shows the double-size picture pixel for pixel ($(same_pixels "$WORK/map-sharp.png" "$WORK/map-shown.png") differ)" \
    test "$(same_pixels "$WORK/map-sharp.png" "$WORK/map-shown.png")" = 0
# The popup's top band with its title, 280 x 16 at its corner.
convert "$DATA/form/splash/top@2x.gif" "$WORK/top-sharp.png"
convert "$ARTIFACTS/popup-200.png" -crop 560x32+0+0 +repage "$WORK/top-shown.png"
check "and the popup's skin with its title" test "$(same_pixels "$WORK/top-sharp.png" "$WORK/top-shown.png")" = 0
finish
