#!/bin/bash
# Takes the pictures of the places whose captions must be whole at the default font, from the
# program running on a virtual display (Xvfb) with the default font and style of a desktop
# without settings of its own: docs/screenshots/login.png (the start-up window asking for the
# password), items-find.png (the item groups window with its Find frame open),
# contacts-transfer.png (the contact companies window with its hand-off frame) and
# login-wait.png (the login waiting after five wrong passwords, kept open by unsaved work).
# Usage: tools/screenshot-captions.sh [build folder]   (needs Xvfb and x11-utils)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
source "$repo/tools/virtualdisplay.sh"
run_picture_program captionshot
