#!/usr/bin/env bash
# scripts/check-layout on a copy of the sources: the tree as it is passes, and each include planted
# against the direction fails the check, named in its output.
set -euo pipefail
source_dir=$1
work=$(mktemp -d "${TEST_TMPDIR:-/tmp}/check-layout-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/scripts"
cp "$source_dir/scripts/check-layout" "$work/scripts/"
cp -r "$source_dir/src" "$work/src"

failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

"$work/scripts/check-layout" "$work" || fail "the tree as it is does not pass"

# Plants `line` at the end of `file` (a path under src/), checks that the check fails and names
# `expected`, then puts the file back.
expect_refused() {
    local file=$1 line=$2 expected=$3 out
    cp "$work/src/$file" "$work/planted"
    echo "$line" >>"$work/src/$file"
    if out=$("$work/scripts/check-layout" "$work" 2>&1); then
        fail "$file with $line passes"
    elif ! grep -qF "$expected" <<<"$out"; then
        fail "$file with $line: the output does not name $expected: $out"
    fi
    mv "$work/planted" "$work/src/$file"
}

# A feature that reaches into the menu, another feature, or the root.
expect_refused desktop/finder_control.cpp '#include "menu/status_menu_controller.h"' \
    'src/desktop/finder_control.cpp:'
expect_refused desktop/finder_control.cpp '#include "menu/status_menu_controller.h"' '"menu/status_menu_controller.h"'
expect_refused install/application_mover.cpp '#include "login/login_items.h"' \
    '"login/login_items.h"'
expect_refused wallpaper/wallpaper_chooser.h '#include "app/app_delegate.h"' \
    '"app/app_delegate.h"'
# The shared helpers see nothing of Tidra; a feature does not reach the root.
expect_refused text/ascii.h '#include "platform/url.h"' '"platform/url.h"'
expect_refused shortcut/key_combo.cpp '#  include "app/class_registry.h"' '"app/class_registry.h"'
# The launcher's exception is for its own file only, and the simulated Mac names nothing of Tidra.
expect_refused frontend/frontend.cpp '#include "app/class_registry.h"' 'src/frontend/frontend.cpp:'
expect_refused sim/mac.cpp '#include "app/class_registry.h"' 'src/sim/mac.cpp:'
expect_refused sim/mac.cpp '#include "menu/status_menu_controller.h"' '"menu/status_menu_controller.h"'
# The simulated Mac never sees the front end, nor Tidra's logic the simulated Mac.
expect_refused sim/disk.cpp '#include "frontend/frontend.h"' '"frontend/frontend.h"'
expect_refused platform/url.cpp '#include "sim/disk.h"' '"sim/disk.h"'

# A folder the check does not know is refused, not passed over.
mkdir "$work/src/extras"
echo '#include "app/app_delegate.h"' >"$work/src/extras/extra.cpp"
if out=$("$work/scripts/check-layout" "$work" 2>&1) || ! grep -qF "src/extras" <<<"$out"; then
    fail "an unknown folder passes: $out"
fi

exit $((failures > 0))
