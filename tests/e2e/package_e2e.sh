#!/usr/bin/env bash
# The Debian package as Debian checks it and as a user meets it: its files
# against the layout it promises, lintian, desktop-file-validate and
# appstreamcli, then unpacked into a root of its own and run from its
# read-only install folder by a user who cannot write there (root runs it
# as nobody), whose log must land in that user's state folder.
#
#   package_e2e.sh <package.deb> <the build's data folder> <output folder>
# Ends with 77 (skipped) only when a checking tool is not installed.
source "$(dirname "$0")/package_checks.sh"
deb=$1
data=$2
top=$3/package
rm -rf "$top"
mkdir -p "$top"

require_tools dpkg-deb lintian desktop-file-validate appstreamcli setpriv file
version=$(dpkg-deb -f "$deb" Version)

# Every path the package holds, links with their targets, and nothing else.
{
    printf '%s\n' ./usr/ ./usr/games/ ./usr/lib/ ./usr/lib/duckdemo/ ./usr/lib/duckdemo/data/ \
        ./usr/lib/duckdemo/duckdemo ./usr/lib/duckdemo/duckdemo-ce \
        "./usr/games/duckdemo -> ../lib/duckdemo/duckdemo" "./usr/games/duckdemo-ce -> ../lib/duckdemo/duckdemo-ce" \
        ./usr/share/ ./usr/share/applications/ ./usr/share/applications/org.duckdemo.duckdemo.desktop \
        ./usr/share/applications/org.duckdemo.duckdemo-ce.desktop ./usr/share/metainfo/ \
        ./usr/share/metainfo/org.duckdemo.duckdemo.metainfo.xml ./usr/share/man/ ./usr/share/man/man6/ \
        ./usr/share/man/man6/duckdemo.6.gz ./usr/share/man/man6/duckdemo-ce.6.gz ./usr/share/doc/ \
        ./usr/share/doc/duckdemo/ ./usr/share/doc/duckdemo/copyright ./usr/share/doc/duckdemo/changelog.gz \
        ./usr/share/icons/ ./usr/share/icons/hicolor/
    for size in 16 22 24 32 48 64 128 256; do
        printf '%s\n' "./usr/share/icons/hicolor/${size}x$size/" "./usr/share/icons/hicolor/${size}x$size/apps/" \
            "./usr/share/icons/hicolor/${size}x$size/apps/duckdemo.png"
    done
    for file in "$data"/*; do echo "./usr/lib/duckdemo/data/$(basename "$file")"; done
} | sort >"$top/expected.txt"
dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' | sort >"$top/files.txt"
diff -u "$top/expected.txt" "$top/files.txt" || failed "the package's files differ from the layout (- promised, + found)"

# Errors and warnings fail; information and overrides do not.
lintian "$deb" >"$top/lintian.txt" 2>&1 || true
grep -v "running with root privileges" "$top/lintian.txt" || true
! grep -qE '^[EW]: ' "$top/lintian.txt" || failed "lintian has errors or warnings"

root=$top/root
dpkg -x "$deb" "$root"
for entry in "$root"/usr/share/applications/*.desktop; do
    desktop-file-validate "$entry" || failed "$(basename "$entry") is not a valid desktop entry"
done
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.xml || failed "the AppStream metadata is not valid"
for size in 16 48 256; do
    file "$root/usr/share/icons/hicolor/${size}x$size/apps/duckdemo.png" | grep -q "$size x $size, 8-bit/color RGBA" ||
        failed "the ${size}px icon is not a $size x $size picture with alpha"
done

said=$("$root/usr/games/duckdemo" --version) || true
[ "$said" = "duckdemo $version" ] || failed "--version says '$said', the package is $version"

# The install folder belongs to root and is read-only; the user's state
# folder and the capture's folder are the user's own.
state=$top/state
capture=$top/capture
mkdir -p "$state" "$capture"
chmod -R a-w "$root/usr/lib/duckdemo"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown 65534:65534 "$state" "$capture"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
for program in duckdemo duckdemo-ce; do
    rm -rf "${capture:?}"/* "$state/duckdemo"
    status=0
    SDL_AUDIODRIVER=dummy XDG_STATE_HOME=$state timeout -k 5 600 "${as_user[@]}" "$root/usr/games/$program" \
        --capture "$capture" --fps 10 --at 0,76000 >/dev/null 2>"$top/$program.err" || status=$?
    log=$state/duckdemo/qvDebug.log
    [ "$status" -eq 1 ] || failed "$program ended with $status, not the 1 of a finished capture"
    [ -f "$capture/t076000.png" ] || failed "$program did not reach the game"
    tail -n 1 "$log" 2>/dev/null | grep -qx "doZorava - Logging ended" || failed "$program left no whole log in $log"
    grep -qF "the log is \"$log\"" "$top/$program.err" || failed "$program did not say where its log went"
    [ ! -e "$root/usr/lib/duckdemo/qvDebug.log" ] || failed "$program wrote beside itself"
    sed "s/^/  $program: /" "$top/$program.err"
done
chmod -R u+w "$root"

[ "$failures" -eq 0 ] || exit 1
echo "the package: files, lintian, desktop entries, AppStream and an unprivileged run all as promised"
