#!/usr/bin/env bash
# scripts/apt-packages against a stand-in apt whose mirror fails on demand: what it tries again,
# how long it waits, what it names, what it installs and when it fails.
set -u
here=$(cd "$(dirname "$0")" && pwd)
script=$here/../../scripts/apt-packages
work=${1:?usage: apt_packages_test.sh WORK_FOLDER}
failures=0 cases=0

# expect NAME WANTED_EXIT WANTED_PAUSES WANTED_LEFT OUTPUT_PATTERN [VAR=VALUE...]
# Installs cmake and ninja-build, and wine32:i386 for the i686 run; WANTED_LEFT is what is still
# not installed afterwards.
expect() {
    local name=$1 wanted=$2 pauses=$3 left=$4 pattern=$5 status output got_pauses got_left
    shift 5
    cases=$((cases + 1))
    local state=$work/$name
    rm -rf "${state:?}" && mkdir -p "$state/bin"
    for tool in apt-get dpkg-query dpkg sleep; do ln -s "$here/fake_apt" "$state/bin/$tool"; done
    output=$(env PATH="$state/bin:$PATH" FAKE_STATE="$state" "$@" "$script" install cmake ninja-build --i686 wine32:i386 2>&1)
    status=$?
    got_pauses=$(paste -sd ' ' "$state/pauses")
    got_left=$(for p in cmake ninja-build wine32:i386; do grep -qx "$p" "$state/installed" || echo "$p"; done | paste -sd ' ')
    if [ "$status" != "$wanted" ] || [ "$got_pauses" != "$pauses" ] || [ "$got_left" != "$left" ] ||
        ! grep -qE "$pattern" <<<"$output"; then
        echo "FAIL $name: exit $status (wanted $wanted), pauses '$got_pauses' (wanted '$pauses')," \
            "not installed '$got_left' (wanted '$left')"
        echo "$output" | sed 's/^/    /'
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

security_i386='bookworm-security/main i386 Packages'
sync='File has unexpected size \(31616 != 31568\)\. Mirror sync in progress\?'
expect mirror_mends_itself_before_the_second_try 0 "60" "" \
    "apt-get update failed \(try 1 of 3\): $security_i386 \($sync\)\. Trying again in 60 s" FAKE_UPDATE_FAILS=1
expect older_apt_that_only_warns_is_tried_again 0 "60" "" 'try 1 of 3' FAKE_UPDATE_FAILS=1 FAKE_UPDATE_STATUS=0
expect impatient_pauses 0 "0 0" "" 'try 2 of 3' FAKE_UPDATE_FAILS=2 SETUP_APT_PAUSE=0
expect index_keeps_out_only_the_i686_package 0 "60 180" "wine32:i386" \
    "the index '$security_i386' could not be fetched \($sync\); it keeps out wine32:i386\$" \
    FAKE_UPDATE_FAILS=3 FAKE_BROKEN=wine32:i386
expect old_index_serves_every_package 0 "60 180" "" \
    "could not be fetched \($sync\); nothing the project needs depends on it" FAKE_UPDATE_FAILS=3
expect index_keeps_out_a_needed_package 1 "60 180" "cmake ninja-build wine32:i386" \
    "it keeps out cmake ninja-build\$" \
    FAKE_UPDATE_FAILS=3 FAKE_INDEX='bookworm/main amd64 Packages' FAKE_BROKEN=cmake
expect whole_suite_missing_keeps_out_every_architecture 0 "60 180" "wine32:i386" \
    "the index 'bookworm-security InRelease' could not .*keeps out wine32:i386" \
    FAKE_UPDATE_FAILS=3 FAKE_INDEX='bookworm-security InRelease' FAKE_BROKEN=wine32:i386
expect download_mends_itself 0 "60 180" "" 'Installing failed \(try 2 of 3\)' FAKE_DOWNLOAD_FAILS=2
expect download_never_mends 1 "60 180 60 180" "cmake ninja-build wine32:i386" \
    'NOT installed: cmake ninja-build; the build' FAKE_DOWNLOAD_FAILS=9
expect not_the_mirrors_fault_is_not_waited_for 1 "" "cmake ninja-build wine32:i386" 'E: Malformed entry' \
    FAKE_UPDATE_ERROR=1

# Run again on a machine that has everything, it asks apt nothing.
state=$work/nothing_missing
rm -rf "$state" && mkdir -p "$state/bin"
for tool in apt-get dpkg-query; do ln -s "$here/fake_apt" "$state/bin/$tool"; done
printf '%s\n' cmake wine32:i386 >"$state/installed"
cases=$((cases + 1))
if PATH="$state/bin:$PATH" FAKE_STATE="$state" "$script" install cmake --i686 wine32:i386 && [ ! -s "$state/calls" ]; then
    echo "ok   nothing_missing_asks_apt_nothing"
else
    echo "FAIL nothing_missing_asks_apt_nothing: $(cat "$state/calls")"
    failures=$((failures + 1))
fi

echo "$((cases - failures)) passed, $failures failed"
[ $failures = 0 ]
