# Shared by the scripts in this folder. Source it; do not run it.

VELTRANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export VELTRANE_ROOT

# Compiler cache shared by every build folder of every checkout on this machine.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$VELTRANE_ROOT")}
export CCACHE_NOHASHDIR=1
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-10G}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

step() {
    printf '\n==> %s\n' "$*"
}

jobs_count() {
    nproc 2>/dev/null || echo 2
}

# configure_build <folder> <build type> [cmake options...]
configure_build() {
    local folder=$1 type=$2
    shift 2
    cmake -S "$VELTRANE_ROOT" -B "$folder" -G Ninja \
        -DCMAKE_BUILD_TYPE="$type" \
        -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
        "$@" >/dev/null
}
