#!/usr/bin/env bash
# Makes the Windows setup program with cpack and tries it in a fresh Wine
# prefix, twice: as an administrator installs it (Wine's user is one: for
# all users) and for the current user alone (/CurrentUser, what a user
# without administrator rights gets). Each time, silently (/S): the files are
# the zip's and lie where they should; the Start-menu and "Send to" shortcuts
# point at the window; the uninstall entry is registered; the window, started
# through the "Send to" shortcut with two files, has them selected and keeps
# config.db under %APPDATA%; the silent uninstall leaves nothing of the
# program but config.db, and every picture and container.
#
# usage: setup_test.sh BUILD_DIR WORK_DIR PROBE WINE_RUN LOADER PREFIX
# PROBE is setup_probe.exe; WINE_RUN LOADER PREFIX is how the build runs a
# Windows program here (scripts/wine-run); this test takes a prefix of its
# own in WORK_DIR instead of PREFIX.
set -euo pipefail
export LC_ALL=C.UTF-8
build=$1
work=$2
probe=$3
wine_run=$4
loader=$5
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
prefix=$work/prefix
win() { "$wine_run" "$loader" "$prefix" "$@"; }
# Milliseconds since the epoch; the seconds since such a time.
now() { date +%s%3N; }
elapsed() {
    local ms=$(($(now) - $1))
    printf '%d.%03d' $((ms / 1000)) $((ms % 1000))
}

# A server of an earlier run's prefix must not serve the new one.
[ -d "$prefix" ] && win --stop
rm -rf "$work"
mkdir -p "$work/out"
trap '"$wine_run" "$loader" "$prefix" --stop' EXIT

echo "-- cpack"
cpack --config "$build/CPackConfig.cmake" -G NSIS -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
setups=("$work"/out/imgcrypt-*-win*-setup.exe)
setup=${setups[0]}
[ -f "$setup" ] || fail "no setup program made"
name=$(basename "$setup" .exe)
[[ $name =~ ^imgcrypt-([0-9]+\.[0-9]+\.[0-9]+)-(win32|win64)-setup$ ]] || fail "named $name"
version=${BASH_REMATCH[1]}
# What the zip holds: cpack stages the same install for both.
staged=$work/out/_CPack_Packages/${BASH_REMATCH[2]}/NSIS/$name
[ -f "$staged/imgcrypt-gui.exe" ] || fail "no staged files in $staged"
echo "$name.exe: $(stat -c %s "$setup") bytes"

echo "-- a fresh prefix"
start=$(now)
win --boot
echo "booted in $(elapsed "$start") s"
c=$prefix/drive_c
users=$(find "$c/users" -mindepth 1 -maxdepth 1 ! -name Public -printf '%f\n')
[ "$(wc -l <<<"$users")" = 1 ] || fail "not one user in the prefix: $users"
appdata=$c/users/$users/AppData/Roaming
config=$appdata/imgcrypt/config.db
link_name="Zelvok Image Batch Encrypt.lnk"
sendto=$appdata/Microsoft/Windows/SendTo/$link_name
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\imgcrypt'

# The Windows form of a path under drive_c.
windows_path() { local p=${1#"$c"}; echo "C:${p//\//\\}"; }

try_scope() {
    local scope=$1 switch=$2 folder=$3 start_menu=$4 hive=$5
    echo "-- install for $scope"
    local start
    start=$(now)
    # shellcheck disable=SC2086
    win "$setup" /S $switch || fail "setup ended with $?"
    echo "installed in $(elapsed "$start") s"

    [ -f "$folder/uninstall.exe" ] || fail "no uninstaller in $folder"
    diff <(cd "$staged" && find . -type f | sort) \
        <(cd "$folder" && find . -type f ! -name uninstall.exe | sort) ||
        fail "the installed files are not the zip's"
    while IFS= read -r f; do
        cmp -s "$staged/$f" "$folder/$f" || fail "installed $f differs from the zip's"
    done < <(cd "$staged" && find . -type f)
    [ -f "$start_menu" ] || fail "no Start-menu entry $start_menu"
    [ -f "$sendto" ] || fail "no Send-to entry $sendto"
    local program entry
    program="$(windows_path "$folder")\\imgcrypt-gui.exe"

    entry=$(win reg query "$hive\\$key" | tr -d '\r')
    for wanted in "DisplayName    REG_SZ    Zelvok Image Batch Encrypt" \
        "DisplayVersion    REG_SZ    $version" "DisplayIcon    REG_SZ    $program,0" \
        "UninstallString    REG_SZ    \"$(windows_path "$folder")\\uninstall.exe\""; do
        grep -qF "    $wanted" <<<"$entry" || { echo "$entry"; fail "the uninstall entry lacks $wanted"; }
    done
    grep -qE '^ +EstimatedSize +REG_DWORD +0x[0-9a-f]*[1-9a-f]' <<<"$entry" ||
        { echo "$entry"; fail "the uninstall entry tells no size"; }

    # The probe runs where no DLL lies, so the program must find its own.
    cd "$work"
    echo "-- the window from the Start menu"
    local out
    out=$(win "$probe" "$(windows_path "$start_menu")" | tr -d '\r') || { echo "$out"; fail "probe"; }
    echo "$out"
    grep -qxF "target: $program" <<<"$out" || fail "the Start-menu entry does not start $program"
    grep -qx 'exit: 0' <<<"$out" || fail "the window did not end normally"

    echo "-- the window through \"Send to\" with two files"
    local photos="$c/照片 $scope" p
    mkdir -p "$photos"
    head -c 3000 /dev/urandom >"$photos/a.jpg"
    head -c 5000 /dev/urandom >"$photos/b.png"
    p=$(windows_path "$photos")
    out=$(win "$probe" "$(windows_path "$sendto")" "$p\\a.jpg" "$p\\b.png" | tr -d '\r') ||
        { echo "$out"; fail "probe with files"; }
    echo "$out"
    grep -qxF "target: $program" <<<"$out" || fail "the Send-to entry does not start $program"
    grep -qxF "folder: $p\\" <<<"$out" || fail "the folder box does not show $p\\"
    grep -q '^box: 2' <<<"$out" || fail "the run did not take both files"
    grep -qx 'exit: 0' <<<"$out" || fail "the window did not end normally"
    [[ -s $photos/已加密/a.jpg && -s $photos/已加密/b.png ]] || fail "no containers"
    [ "$(od -An -c "$config" | tr -s ' ')" = " c h \r \n" ] || fail "no config.db under %APPDATA%"
    [ ! -e "$folder/config.db" ] || fail "config.db beside the installed program"

    echo "-- uninstall"
    start=$(now)
    win "$folder/uninstall.exe" /S || fail "uninstaller ended with $?"
    # The uninstaller runs on from a copy of itself and removes the folder.
    for _ in $(seq 600); do
        [ -e "$folder" ] || break
        sleep 0.1
    done
    echo "uninstalled in $(elapsed "$start") s"
    [ ! -e "$folder" ] || fail "left behind: $(find "$folder")"
    [[ ! -e $start_menu && ! -e $sendto ]] || fail "shortcuts left behind"
    win reg query "$hive\\$key" >/dev/null 2>&1 && fail "the uninstall entry is left"
    local left
    left=$(find "$c" \( -iname '*imgcrypt*' -o -iname 'Zelvok*' \) ! -path "$appdata/imgcrypt*")
    [ -z "$left" ] || fail "left behind: $left"
    [ -f "$config" ] || fail "config.db removed"
    [[ -s $photos/a.jpg && -s $photos/已加密/b.png ]] || fail "pictures or containers removed"
}

try_scope "all users" "" "$c/Program Files/imgcrypt" \
    "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/$link_name" HKLM
try_scope "the current user" /CurrentUser "$c/users/$users/AppData/Local/Programs/imgcrypt" \
    "$appdata/Microsoft/Windows/Start Menu/Programs/$link_name" HKCU
# A prefix takes about a gigabyte; a failed run keeps it to look into.
win --stop
rm -rf "$prefix"
echo "ok"
