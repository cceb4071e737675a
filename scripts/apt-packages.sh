# shellcheck shell=bash
# Sourced by the install scripts. install_missing OPTIONS... -- PACKAGES...
# installs those of the Debian packages that are not installed yet (apt-get
# install with OPTIONS), and runs apt only when something is missing. Another
# apt run (a second build on the same machine) holds the lock for a while:
# wait for it instead of failing.

package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

apt_get() {
    local try
    for try in $(seq 1 60); do
        if as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=60 "$@"; then
            return 0
        fi
        echo "apt-get $1 failed (try $try), retrying in 10 s" >&2
        sleep 10
    done
    return 1
}

install_missing() {
    local options=() missing=() p
    while (($#)) && [ "$1" != -- ]; do
        options+=("$1")
        shift
    done
    shift
    for p in "$@"; do
        package_installed "$p" || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    apt_get update -qq
    apt_get install -y -qq "${options[@]}" "${missing[@]}"
}
