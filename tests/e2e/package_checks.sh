# What the package checks share: every failure is counted and shown, so one
# run names them all, and a check whose tool is not installed is skipped
# with 77, saying which.
#
#   source package_checks.sh
set -euo pipefail
failures=0

failed() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || {
            echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
            exit 77
        }
    done
}
