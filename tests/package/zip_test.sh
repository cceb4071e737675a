#!/usr/bin/env bash
# Makes the Windows zip with cpack, unpacks it and checks: one folder named
# after the zip, with both programs, libgcrypt's two DLLs, the pages and the
# read-me side by side and nothing else; the programs stripped; and the
# command line from there round-trips a file with a Chinese name in a Chinese
# folder, byte for byte, in the high and the sealed class.
#
# usage: zip_test.sh BUILD_DIR WORK_DIR [RUNNER...]
# RUNNER is what starts a Windows program here (scripts/wine-run LOADER
# PREFIX); nothing on Windows itself.
set -euo pipefail
export LC_ALL=C.UTF-8
build=$1
work=$2
shift 2
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work/out"

echo "-- cpack"
cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
zips=("$work"/out/imgcrypt-*-win*.zip)
zip=${zips[0]}
[ -f "$zip" ] || fail "no zip made"
name=$(basename "$zip" .zip)
[[ $name =~ ^imgcrypt-[0-9]+\.[0-9]+\.[0-9]+-win(32|64)$ ]] || fail "zip named $name"
echo "$name.zip"

echo "-- contents"
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
[ "$(ls "$work/unpacked")" = "$name" ] || fail "the zip does not hold the one folder $name"
root=$work/unpacked/$name
for f in imgcrypt.exe imgcrypt-gui.exe libgcrypt-20.dll libgpg-error-0.dll help.htm ehelp.htm \
    banner.htm ebanner.htm README-windows.txt; do
    [ -f "$root/$f" ] || fail "missing $f"
done
[ -z "$(find "$root" -mindepth 1 -type d)" ] || fail "sub-folders: $(find "$root" -mindepth 1 -type d)"
for f in "$root"/*; do
    case "$(basename "$f")" in
        *.exe | *.dll | help.htm | ehelp.htm | banner.htm | ebanner.htm | README-windows.txt) ;;
        *) fail "unexpected file $(basename "$f")" ;;
    esac
done
cmp -s "$root/help.htm" "$(dirname "$0")/../../data/help.htm" || fail "help.htm differs from data/"
grep -q $'\r$' "$root/README-windows.txt" || fail "README-windows.txt lacks Windows line ends"
version=${name#imgcrypt-}
version=${version%-win*}
grep -qF "Version $version." "$root/README-windows.txt" ||
    fail "README-windows.txt does not name the version $version"
built=$(stat -c %s "$build/cli/imgcrypt.exe")
zipped=$(stat -c %s "$root/imgcrypt.exe")
((zipped < built)) || fail "imgcrypt.exe is not stripped ($zipped bytes, built $built)"
ls -l "$root"

echo "-- Chinese names round-trip through the command line from the zip"
cd "$work"
mkdir 相册
head -c 70001 /dev/urandom >相册/照片.jpg
printf 'Tiger#42\r\n' >pw.txt
"$@" "$root/imgcrypt.exe" encrypt --lang ch --class high --password-file pw.txt 相册/照片.jpg ||
    fail "encrypt"
[ -f 相册/已加密/照片.jpg ] || fail "no container in 相册/已加密"
"$@" "$root/imgcrypt.exe" decrypt --lang ch --password-file pw.txt 相册/已加密/照片.jpg ||
    fail "decrypt"
cmp 相册/照片.jpg 相册/已加密/已解密/照片.jpg || fail "decrypted bytes differ"
rm -r 相册/已加密
"$@" "$root/imgcrypt.exe" encrypt --lang ch --class sealed --password-file pw.txt 相册/照片.jpg ||
    fail "sealed encrypt (are the DLLs found?)"
head -c 17 相册/已加密/照片.jpg | grep -q IMGCRYPT-SEALED-1 || fail "no sealed container"
"$@" "$root/imgcrypt.exe" decrypt --lang ch --password-file pw.txt 相册/已加密/照片.jpg ||
    fail "sealed decrypt"
cmp 相册/照片.jpg 相册/已加密/已解密/照片.jpg || fail "opened bytes differ"
echo "ok"
