#!/usr/bin/env bash
# Makes the package with cpack, unpacks it with dpkg -x into a temporary root
# and checks: the files lie where the desktop looks for them, the metadata
# agree and validate, the programs are stripped, the manual page says what
# --help says, both programs start from there, and the window keeps its
# settings in the user's folder, writing nothing under usr/; started with two
# files, as "Open with" starts it, the window has them selected.
#
# usage: package_test.sh BUILD_DIR WORK_DIR PROBE_PLUGINS
# PROBE_PLUGINS holds generic/ with the test's probe plugin
# (window_probe_plugin.cpp).
set -euo pipefail
export LC_ALL=C.UTF-8
build=$1
work=$2
probe_plugins=$3
root=$work/root
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
have() {
    command -v "$1" >/dev/null && return
    echo "(no $1: its check is skipped)"
    return 1
}

rm -rf "$work"
mkdir -p "$work/out" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"

echo "-- cpack"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/imgcrypt_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || fail "no package made"
dpkg-deb -x "$deb" "$root"
# Whatever runs from the root later must leave it as unpacked.
sleep 1
touch "$work/unpacked"

echo "-- control fields"
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-deb -f "$deb" Section)" = graphics ] || fail "section is not graphics"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in fonts-wqy-microhei libqt6webenginewidgets6 libc6 libgcrypt20; do
    grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

echo "-- file layout"
dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./usr/' | grep -v '^\./$' &&
    fail "files outside /usr"
dpkg-deb -c "$deb" | grep -q '/usr/local' && fail "files under /usr/local"
share=$root/usr/share
app_id=example.zelvok.imgcrypt
for f in usr/bin/imgcrypt usr/bin/imgcrypt-gui \
    usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml \
    usr/share/icons/hicolor/48x48/apps/imgcrypt.png usr/share/icons/hicolor/scalable/apps/imgcrypt.svg \
    usr/share/imgcrypt/help.htm usr/share/imgcrypt/ehelp.htm \
    usr/share/imgcrypt/banner.htm usr/share/imgcrypt/ebanner.htm \
    usr/share/man/man1/imgcrypt.1.gz usr/share/man/man1/imgcrypt-gui.1.gz \
    usr/share/doc/imgcrypt/copyright usr/share/doc/imgcrypt/changelog.gz; do
    [ -f "$root/$f" ] || fail "missing $f"
done
for b in imgcrypt imgcrypt-gui; do
    readelf -S "$root/usr/bin/$b" | grep -q '\.debug_info' && fail "$b carries debug information"
done
for gz in "$share"/man/man1/*.gz "$share"/doc/imgcrypt/changelog.gz; do
    gzip -t "$gz" || fail "$gz is broken"
    # No time stamp in the header (gzip -n), so the package is reproducible.
    [ "$(od -An -tu4 -j4 -N4 "$gz" | tr -d ' ')" = 0 ] || fail "$gz carries a time stamp"
done
head -c 4 "$share/icons/hicolor/48x48/apps/imgcrypt.png" | grep -q PNG || fail "48 px icon is no PNG"
grep -q '<svg' "$share/icons/hicolor/scalable/apps/imgcrypt.svg" || fail "scalable icon is no SVG"

echo "-- metadata agree and validate"
zcat "$share/doc/imgcrypt/changelog.gz" | head -n 1 | grep -qF "imgcrypt ($version)" ||
    fail "changelog does not start at $version"
grep -qF "<release version=\"$version\"" "$share/metainfo/$app_id.metainfo.xml" ||
    fail "metainfo has no release $version"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop<" "$share/metainfo/$app_id.metainfo.xml" ||
    fail "metainfo does not launch $app_id.desktop"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$share/doc/imgcrypt/copyright" || fail "copyright is not machine-readable"
if have appstreamcli; then
    appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml" || fail "metainfo invalid"
fi
if have desktop-file-validate; then
    desktop-file-validate "$share/applications/$app_id.desktop" || fail "desktop entry invalid"
fi
# "Open with" hands the window every chosen file, and offers it for pictures.
grep -qx 'Exec=imgcrypt-gui %F' "$share/applications/$app_id.desktop" ||
    fail "the desktop entry does not start imgcrypt-gui with the files"
grep -q '^MimeType=.*image/jpeg;' "$share/applications/$app_id.desktop" ||
    fail "the desktop entry declares no picture types"

echo "-- the manual page says what --help says"
"$root/usr/bin/imgcrypt" --version | grep -qF "$version" || fail "imgcrypt --version"
if have man; then
    squeeze() { tr -s ' \n' '  '; }
    page=$(MANWIDTH=10000 man -E UTF-8 -l "$share/man/man1/imgcrypt.1.gz" 2>/dev/null | squeeze)
    while IFS= read -r line; do
        [ -n "${line// /}" ] || continue
        line=${line#Usage: }
        # A heading "Exit status:" is the section "EXIT STATUS".
        [[ $line =~ ^[A-Z][^:]*:$ ]] && line=$(tr '[:lower:]' '[:upper:]' <<<"${line%:}")
        wanted=$(printf '%s' "$line" | squeeze)
        wanted=${wanted# }
        grep -qF -- "$wanted" <<<"$page" || fail "manual page lacks: $wanted"
    done < <("$root/usr/bin/imgcrypt" --help)
fi

echo "-- the window starts from the unpacked root"
home=$work/home
# Starts the unpacked window in the background with ARGS, as the user's
# desktop would, in its own session, so the web engine's helpers end with it.
start_gui() {
    env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME \
        HOME="$home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
        QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
        setsid "$root/usr/bin/imgcrypt-gui" "$@" >"$work/gui.log" 2>&1 &
    gui=$!
}
start_gui
stop_gui() { kill -TERM -- "-$gui" 2>/dev/null || true; wait "$gui" 2>/dev/null || true; }
trap stop_gui EXIT
config=$home/.config/imgcrypt/config.db
for _ in $(seq 300); do
    [ -f "$config" ] && break
    kill -0 "$gui" 2>/dev/null || { cat "$work/gui.log"; fail "the window ended at start"; }
    sleep 0.1
done
[ -f "$config" ] || { cat "$work/gui.log"; fail "no $config"; }
sleep 1
kill -0 "$gui" 2>/dev/null || { cat "$work/gui.log"; fail "the window ended after start"; }
stop_gui
trap - EXIT
[ "$(od -An -c "$config" | tr -s ' ')" = " c h \r \n" ] || fail "config.db is not \"ch\" CR LF"

echo "-- started with two files, the window has them selected"
# The probe reports the folder box, presses Encrypt, answers the box and
# closes the window. A run that started by itself, without a password, would
# have shown a box of its own first.
photos="$work/相册 1"
mkdir -p "$photos"
head -c 3000 /dev/urandom >"$photos/照片.jpg"
head -c 5000 /dev/urandom >"$photos/b.png"
report=$work/probe.txt
QT_PLUGIN_PATH="$probe_plugins" QT_QPA_GENERIC_PLUGINS=imgcrypt_window_probe \
    IMGCRYPT_PROBE_REPORT="$report" start_gui "$photos/照片.jpg" "$photos/b.png"
trap stop_gui EXIT
for _ in $(seq 600); do
    kill -0 "$gui" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$gui" 2>/dev/null && { cat "$work/gui.log" "$report"; fail "the window did not close"; }
stop_gui
trap - EXIT
grep -qxF "folder: $photos/" "$report" || { cat "$report"; fail "the folder box does not show $photos/"; }
[[ $(grep -c '^box: ' "$report") = 1 && $(grep '^box: ' "$report") = "box: 2"* ]] ||
    { cat "$report"; fail "the run did not end in one box for two files"; }
for f in 照片.jpg b.png; do
    [ -s "$photos/已加密/$f" ] || fail "no container of $f in $photos/已加密"
done
written=$(find "$root" -newer "$work/unpacked")
[ -z "$written" ] || fail "written under the installed root: $written"

if have lintian; then
    echo "-- lintian"
    lintian --fail-on error "$deb" ||
        fail "lintian found errors"
fi
echo "package test passed: $(basename "$deb")"
