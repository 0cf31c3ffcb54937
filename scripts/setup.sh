# Sourced by the scripts: installs the Debian packages the build needs when missing.
KQ_PACKAGES="cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev
qt6-base-dev libgl-dev libasound2-dev fonts-dejavu-core"

kq_install_packages() {
    local missing=()
    for p in $KQ_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

kq_build() {
    cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}
