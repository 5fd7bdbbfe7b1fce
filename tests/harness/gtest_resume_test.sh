#!/usr/bin/env bash
# scripts/gtest-resume against a stand-in program that dies, fails or passes on demand.
set -u
here=$(cd "$(dirname "$0")" && pwd)
resume=$here/../../scripts/gtest-resume
work=${1:?usage: gtest_resume_test.sh WORK_FOLDER}
failures=0 cases=0

# expect NAME WANTED_EXIT WANTED_PASSES OUTPUT_PATTERN [--exclude PATTERN]... [VAR=VALUE...]
expect() {
    local name=$1 wanted=$2 passes=$3 pattern=$4 status output
    cases=$((cases + 1))
    shift 4
    rm -rf "${work:?}/$name" && mkdir -p "$work/$name"
    local options=()
    while [ "${1:-}" = --exclude ]; do
        options+=("$1" "$2")
        shift 2
    done
    output=$(env FAKE_STATE="$work/$name" "$@" "$resume" "$name" "$work/$name/logs" "${options[@]}" "$here/fake_gtest")
    status=$?
    local got
    got=$(sort "$work/$name/passed" 2>/dev/null | tr '\n' ' ')
    if [ "$status" != "$wanted" ] || [ "$got" != "$passes" ] || ! grep -qE "$pattern" <<<"$output"; then
        echo "FAIL $name: exit $status (wanted $wanted), passed '$got' (wanted '$passes')"
        echo "$output" | sed 's/^/    /'
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

all='T.A T.B T.C T.D '
expect clean_run 0 "$all" '^clean_run passed .* 1 start'
expect one_death_goes_on_and_retries 0 "$all" \
    'died \(signal 11\) in T.B; going on after it' FAKE_DIE=T.B=1
expect deaths_in_two_tests 0 "$all" '^deaths_in_two_tests passed .* 4 start' "FAKE_DIE=T.A=1 T.C=1"
expect second_death_in_one_test_fails 1 'T.A T.C T.D ' 'FAILED: died a second time in T.B' FAKE_DIE=T.B=2
expect death_at_the_start_starts_again 0 "$all" 'at the start of the program; starting it again' \
    FAKE_DIE=start=1
expect two_deaths_at_the_start_fail 1 '' 'FAILED: died a second time in the start' FAKE_DIE=start=2
expect failing_test_fails_at_once 1 'T.A T.B T.C ' 'FAILED: a test failed' FAKE_FAIL=T.D
expect failure_after_a_death_fails 1 'T.A T.C ' 'FAILED: a test failed' FAKE_DIE=T.B=1 FAKE_FAIL=T.D
expect excluded_tests_never_run 0 'T.A T.D ' '^excluded_tests_never_run passed .* 3 start' \
    --exclude 'T.B' --exclude 'T.C' FAKE_DIE=T.A=1
expect other_exit_fails 1 '' 'FAILED: exit code 3' FAKE_EXIT=3

echo "$((cases - failures)) passed, $failures failed"
[ $failures = 0 ]
