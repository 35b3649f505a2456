# Sourced by the test scripts: check DESCRIPTION COMMAND... runs the command
# and counts it in $passed or $failed, naming what failed on stderr.
passed=0
failed=0
check() {
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what" >&2
    fi
}
