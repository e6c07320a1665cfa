# Shortens ctest's output for make test: a dot for each passed test, fifty to
# a line with the count so far; a test that did not pass is shown whole, with
# its output; ctest's closing lines are kept as they are.
#
#   ctest ... | awk -f scripts/ctest-summary.awk

function EndDots() {
    if (dots > 0) printf " %s\n", lastPassed
    dots = 0
}

/tests passed, [0-9]+ tests? failed out of [0-9]+/ {
    EndDots()
    closing = 1
}

closing { print; next }

/^ *Start +[0-9]+: / { showing = 0; next }

/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / {
    showing = 0
    if ($0 ~ / Passed +[0-9.]+ sec/) {
        split($1, progress, "/")
        lastPassed = $1
        printf "."
        ++dots
        if (dots == 50 || progress[1] == progress[2]) EndDots()
        fflush()
        next
    }
    EndDots()
    print
    showing = 1
    fflush()
    next
}

showing { print; next }

/^ *$/ { next }

{
    EndDots()
    print
    fflush()
}
