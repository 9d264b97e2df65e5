# Shared by ./test.sh and ./run.sh: installs what the build needs and builds.
# Sourced, not run.

# Every Debian package the build, the tests and the run script need.
ORVANTA_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-serialport-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core
    xvfb xauth xdotool x11-apps x11-utils imagemagick
    dpkg-dev
    xdg-utils
    tshark
    ser2net socat
)

orvanta_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "need root to run: $*" >&2
        return 1
    fi
}

# Installs only the packages that are absent; runs apt-get update once, and
# only when something is missing.
orvanta_install_packages() {
    local missing=() p
    for p in "${ORVANTA_PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "== installing: ${missing[*]}"
    # tshark asks whether ordinary users may capture; they need not (captures are read only).
    echo "wireshark-common wireshark-common/install-setuid boolean false" \
        | orvanta_as_root debconf-set-selections 2>/dev/null || true
    orvanta_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    orvanta_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# orvanta_build DIR [cmake options...]
orvanta_build() {
    local dir=$1
    shift
    # A developer's ccache, where there is one, is used; the build does not need it.
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
    cmake --build "$dir" -j "$(nproc)"
}
