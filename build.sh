#!/usr/bin/env bash
# Installs what is missing from Debian, builds Quillio, then starts it (run) or runs every test (test).
#   ./build.sh run    build and start the program
#   ./build.sh test   build and run the whole test suite; under CI (CI=true) first the format check
#                     (tools/format/check-format), then also the steps below
#   ./build.sh sanitize   build in build-asan with AddressSanitizer + UndefinedBehaviorSanitizer and
#                         run the whole test suite there
#   ./build.sh fuzz [SECONDS]   build the libFuzzer binaries in build-fuzz (clang) and run each for
#                               SECONDS (default 30), starting from its corpus in tests/fuzz/
#   ./build.sh tidy   run clang-tidy with the checks of .clang-tidy over every source file of the
#                     tree (build dir build); any finding fails
#   ./build.sh package   build the Debian package quillio_<version>_amd64.deb here, with the guide;
#                        under CI, test also builds it and checks it (tools/package/check-package)
set -euo pipefail
cd "$(dirname "$0")"

# What building and running need (xvfb and xauth start the program where there is no display).
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 libsqlite3-dev
          libzip-dev libpq-dev xvfb xauth fonts-dejavu-core)

# What only the tests need: PDF text, the official schema check, the CSV reader, clang for the
# sanitizer and fuzzer builds, clang-format for the format check, the database server the engine's
# tests start a throw-away cluster of.
test_packages=(poppler-utils libxml2-utils python3 clang libclang-rt-14-dev clang-format postgresql)

# What the package and its checks need besides the build: dpkg-shlibdeps and file for CPack,
# python3-markdown for the guide, the validators and lintian for the checks.
package_tools=(dpkg-dev file python3-markdown desktop-file-utils appstream lintian)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

install_package_tools() {
    local packages=("${package_tools[@]}")
    install_missing
}

install_test_packages() {
    local packages=("${test_packages[@]}")
    install_missing
}

install_tidy_tools() {
    local packages=(clang-tidy)
    install_missing
}

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build
}

# Exactly the findings of code not ours are suppressed, each with its reason, in tests/sanitizers/.
# A failed allocation returns null (Qt then throws std::bad_alloc) instead of ending the run.
sanitizer_environment() {
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:allocator_may_return_null=1:suppressions=$PWD/tests/sanitizers/asan.supp"
    export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$PWD/tests/sanitizers/ubsan.supp"
}

sanitize() {
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLIO_SANITIZE=ON
    cmake --build build-asan
    sanitizer_environment
    (cd build-asan && ctest --output-on-failure -j "$(nproc)" --timeout 600)
}

fuzz() {
    local seconds="${1:-30}"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DQUILLIO_SANITIZE=ON -DQUILLIO_FUZZ=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
    cmake --build build-fuzz --target quillio_fuzzers
    sanitizer_environment
    export QT_QPA_PLATFORM=offscreen
    local failed=()
    for corpus in tests/fuzz/*/; do
        local target
        target="$(basename "$corpus")"
        # New inputs go to a scratch copy; only those that found a fault are added to the corpus.
        local work="build-fuzz/corpus/$target"
        mkdir -p "$work"
        echo "== fuzz_$target for ${seconds}s"
        build-fuzz/fuzz/"fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
            -print_final_stats=1 -artifact_prefix="build-fuzz/fuzz-$target-" "$work" "$corpus" ||
            failed+=("$target")
    done
    # Every target runs even when one finds a fault; the run fails when any did.
    if [ ${#failed[@]} -ne 0 ]; then
        echo "Fuzzers that found a fault: ${failed[*]} (inputs in build-fuzz/fuzz-*)" >&2
        return 1
    fi
}

# clang-tidy reads the compile commands of the build; the moc files of the build tree are not ours.
tidy() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build
    run-clang-tidy -p build -quiet -j "$(nproc)" "^$PWD/(src|tests|tools|bench)/.*\.cpp\$"
}

# The package is made from the build tree, the guide required; it lands at the top of the tree.
package() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLIO_REQUIRE_GUIDE=ON
    cmake --build build
    rm -f build/quillio_*.deb quillio_*.deb
    (cd build && cpack -G DEB)
    mv build/quillio_*.deb .
    ls -l quillio_*.deb
}

case "${1:-}" in
    run)
        install_missing
        build
        if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
            echo "No display: starting Quillio inside a virtual X server."
            exec xvfb-run -a build/bin/quillio
        fi
        exec build/bin/quillio
        ;;
    test)
        install_missing
        install_test_packages
        # Under CI the guide is built too, so its test runs with the suite.
        [ "${CI:-}" = "true" ] && install_package_tools
        [ "${CI:-}" = "true" ] && tools/format/check-format
        build
        (cd build && ctest --output-on-failure -j "$(nproc)")
        if [ "${CI:-}" = "true" ]; then
            sanitize
            fuzz 30
            package
            tools/package/check-package quillio_*.deb build
        fi
        ;;
    sanitize)
        install_missing
        install_test_packages
        sanitize
        ;;
    fuzz)
        install_missing
        install_test_packages
        fuzz "${2:-30}"
        ;;
    tidy)
        install_missing
        install_tidy_tools
        tidy
        ;;
    package)
        install_missing
        install_package_tools
        package
        ;;
    *)
        echo "usage: $0 run|test|sanitize|fuzz [SECONDS]|tidy|package" >&2
        exit 2
        ;;
esac
