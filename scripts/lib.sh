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

# Every project option at its default. configure_build states all of them before the caller's own,
# so a build folder never keeps a choice that another script left in its CMake cache (scripts/run
# turns the tests off in build/; scripts/test must get them back).
project_option_defaults=(
    -DVELTRANE_WARNINGS_AS_ERRORS=OFF
    -DVELTRANE_BUILD_PLUGIN=ON
    -DVELTRANE_BUILD_TESTS=ON
    -DVELTRANE_BUILD_HOST_TEST=OFF
    -DVELTRANE_BUILD_BENCHMARKS=ON
    -DVELTRANE_FUZZ=OFF
    -DVELTRANE_SANITIZER=
)

# configure_build <folder> <build type> [cmake options...]; later options win over the defaults.
configure_build() {
    local folder=$1 type=$2
    shift 2
    cmake -S "$VELTRANE_ROOT" -B "$folder" -G Ninja \
        -DCMAKE_BUILD_TYPE="$type" \
        -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
        "${project_option_defaults[@]}" "$@" >/dev/null
}

# run_ctest <log> [ctest options...]: ctest that fails when it finds no test (a filter that matches
# nothing included), with its output also kept in <log> for tests_run and label_tests_run.
run_ctest() {
    local log=$1
    shift
    ctest --no-tests=error --output-on-failure "$@" 2>&1 | tee "$log"
}

# The number of tests a ctest run reported ("... tests failed out of N").
tests_run() {
    sed -n 's/.*tests failed out of \([0-9][0-9]*\)$/\1/p' "$1" | tail -n 1
}

# The number of tests of one label in a ctest run's label summary ("host = ... (N tests)").
label_tests_run() {
    sed -n "s/^$2 *= .*(\([0-9][0-9]*\) tests\?)\$/\1/p" "$1" | tail -n 1
}

# Printed once at the end of each test stage; scripts/test collects these lines into its summary.
stage_summary() {
    printf 'Stage summary: %s\n' "$*"
}
