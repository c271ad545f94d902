#!/usr/bin/env bash
# Installs the Debian packages ZenithWand needs to build, run and test, skipping
# what is already installed. Runs apt-get as root, or through sudo.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ make python3
    clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools
    libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev
    libsimpleini-dev liberfa-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libindi-dev libcfitsio-dev indi-bin
    xvfb xauth
    # The sound guidance: speech (with the offline voice) and tones. The speech
    # module's CMake package needs the QML integration headers of qt6-declarative-dev.
    qt6-speech-dev qt6-speech-flite-plugin qt6-multimedia-dev
    qt6-declarative-dev
    # Motorised altitude/azimuth bases on a serial port.
    qt6-serialport-dev
    dpkg-dev file lintian desktop-file-utils appstream
    fonts-dejavu-core fonts-liberation2 fonts-noto-cjk
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "All build and test packages are installed."
    exit 0
fi

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        SUDO=(sudo)
    else
        echo "Missing packages: ${missing[*]}; run this as root or install sudo." >&2
        exit 1
    fi
fi

echo "Installing: ${missing[*]}"
"${SUDO[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
