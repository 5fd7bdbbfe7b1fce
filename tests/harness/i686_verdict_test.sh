#!/usr/bin/env bash
# The test command's last word on the shipped i686 build: red whenever it went untested, unless
# that was knowingly accepted, and never green on a smoke run that did not pass.
set -u
here=$(cd "$(dirname "$0")" && pwd)
scripts=$here/../../scripts
work=${1:?usage: i686_verdict_test.sh WORK_FOLDER}
rm -rf "$work" && mkdir -p "$work"
failures=0 cases=0

# expect NAME WANTED_EXIT LAST_LINE_PATTERN VERDICT_ARGUMENT [SMOKE_LOG_LINE]
expect() {
    local name=$1 wanted=$2 pattern=$3 argument=$4 log=$work/$1.log output status
    cases=$((cases + 1))
    printf 'smoke-i686: prefix and screen ready (300 s)\n%s\n' "${5:-}" >"$log"
    output=$("$scripts/i686-verdict" "$argument" "$log" 2>&1)
    status=$?
    if [ "$status" != "$wanted" ] || ! tail -n 1 <<<"$output" | grep -qE "$pattern"; then
        echo "FAIL $name: exit $status (wanted $wanted)"
        echo "$output" | sed 's/^/    /'
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

wine32='32-bit Wine \(wine32:i386\) is not installed\. To mend: scripts/bootstrap'
expect smoke_passed 0 '^i686 build: smoke run done in 700 s: passed$' 0 'smoke-i686: done in 700 s: passed'
expect smoke_failed 1 'FAILED' 1 'smoke-i686: done in 700 s: FAILED'
expect smoke_stopped_before_its_verdict 143 'FAILED \(exit status 143' 143
expect untested_is_red_with_reason_and_mend 1 "^i686 build NOT tested, so this run FAILED: $wine32 \(or set SETUP_SKIP_I686=1" \
    3 'smoke-i686: NOT run: 32-bit Wine (wine32:i386) is not installed. To mend: scripts/bootstrap'
# How the fault looked: the smoke run said it had not run and still ended with 0.
expect not_run_ending_with_0_is_red 1 'FAILED' 0 \
    "smoke-i686: Wine's 32-bit loader does not start even under emulation; the i686 build was not run"
expect skipped_knowingly_is_green_and_says_so 0 '^i686 build NOT tested: skipped by SETUP_SKIP_I686=1$' skipped

# The smoke run itself, on a machine without 32-bit Wine, down to the verdict.
cases=$((cases + 1))
output=$(SETUP_WINE32=$work/no-such-loader "$scripts/smoke-i686" 2>&1)
status=$?
if [ $status = 3 ] && grep -qE "^smoke-i686: NOT run: $wine32\$" <<<"$output" &&
    ! "$scripts/i686-verdict" $status <(echo "$output") >/dev/null; then
    echo "ok   smoke_run_without_32_bit_wine_is_red"
else
    echo "FAIL smoke_run_without_32_bit_wine_is_red: exit $status"
    echo "$output" | sed 's/^/    /'
    failures=$((failures + 1))
fi

echo "$((cases - failures)) passed, $failures failed"
[ $failures = 0 ]
