#!/usr/bin/env bash
# The popup on a real X display while a compositing manager comes and goes (a helper stands in for it).
source "$(dirname "$0")/lib.sh"
: "${COMPOSITOR_TESTS:?}"
start_display
check "the popup follows the compositor" env QT_QPA_PLATFORM=xcb "$COMPOSITOR_TESTS"
finish
