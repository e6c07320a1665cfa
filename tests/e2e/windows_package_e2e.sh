#!/usr/bin/env bash
# What a Windows user gets: the exe's icon (every size drawn by the data
# generator), its version information and its manifest, and the zip with the
# exe, data/ and README.txt in one folder named after the version.
#
#   windows_package_e2e.sh <duckdemo.exe> <the zip> <version> <data folder> <output folder>
# Ends with 77 (skipped) only when a checking tool is not installed.
source "$(dirname "$0")/package_checks.sh"
exe=$1
zip=$2
version=$3
data=$4
top=$5/windows-package
rm -rf "$top"
mkdir -p "$top"
require_tools wrestool icotool unzip iconv

wrestool -x --type=14 "$exe" >"$top/duckdemo.ico" || failed "no icon group in the exe"
sizes=$(icotool -l "$top/duckdemo.ico" | sed -E 's/.*--width=([0-9]+).*/\1/' | sort -n | tr '\n' ' ')
[ "$sizes" = "16 24 32 48 64 256 " ] || failed "the icon's sizes are '$sizes'"

wrestool -x --raw --type=16 "$exe" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr '\0' '\n' >"$top/version.txt" || true
for field in FileVersion ProductVersion; do
    grep -A3 "$field\$" "$top/version.txt" | grep -qx "$version" || failed "$field is not $version"
done

wrestool -x --raw --type=24 "$exe" >"$top/manifest.xml" || failed "no manifest in the exe"
[ "$(grep -c '<supportedOS Id=' "$top/manifest.xml")" -eq 4 ] || failed "the manifest names not four Windows versions"
for wanted in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' '<dpiAwareness' \
    '<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>'; do
    grep -qF "$wanted" "$top/manifest.xml" || failed "the manifest lacks $wanted"
done

folder=duckdemo-$version-windows-x64
[ "$(basename "$zip")" = "$folder.zip" ] || failed "the zip is named $(basename "$zip")"
{
    printf '%s\n' "$folder/" "$folder/README.txt" "$folder/duckdemo.exe" "$folder/data/"
    for file in "$data"/*; do echo "$folder/data/$(basename "$file")"; done
} | sort >"$top/expected.txt"
unzip -Z1 "$zip" | sort >"$top/files.txt"
diff -u "$top/expected.txt" "$top/files.txt" || failed "the zip's files differ (- promised, + found)"
unzip -p "$zip" "$folder/duckdemo.exe" | cmp -s - "$exe" || failed "the zip's exe is not the one built"

[ "$failures" -eq 0 ] || exit 1
echo "the Windows exe and zip: icon, version, manifest and contents as promised"
