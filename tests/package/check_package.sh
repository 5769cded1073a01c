#!/usr/bin/env bash
# check_package.sh <zip>: the release package holds purgent.exe,
# purgent-fleet.exe, the administrator's guide (CR LF text with every section
# a deployment needs, naming every switch and exit status) and SHA256SUMS
# matching the three; the SHA256SUMS beside the zip adds the zip's sum.
set -euo pipefail
zip=$1
fail() { echo "$*" >&2; exit 1; }
[[ -f $zip ]] || fail "no package at $zip (cmake --build --preset win32 --target package)"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
unzip -q "$zip" -d "$dir/unpacked"
listing=$(cd "$dir/unpacked" && find . -type f -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')
[[ $listing == "AdminGuide.txt SHA256SUMS purgent-fleet.exe purgent.exe " ]] || fail "package holds: $listing"
(cd "$dir/unpacked" && sha256sum --quiet -c SHA256SUMS)
[[ $(grep -c . "$dir/unpacked/SHA256SUMS") == 3 ]] || fail "SHA256SUMS does not list the three files"
# A console program (PE subsystem 3), whose summary and status a script reads.
fleet=$dir/unpacked/purgent-fleet.exe
pe=$(od -An -tu4 -j60 -N4 "$fleet" | tr -d ' ')
subsystem=$(od -An -tu2 -j$((pe + 92)) -N2 "$fleet" | tr -d ' ')
[[ $subsystem == 3 ]] || fail "purgent-fleet.exe is not a console program (subsystem $subsystem)"

guide=$dir/unpacked/AdminGuide.txt
[[ $(grep -c $'\r$' "$guide") == $(wc -l <"$guide") ]] || fail "AdminGuide.txt has lines without CR LF"
[[ $(tail -c 2 "$guide" | od -An -c | tr -d ' ') == '\r\n' ]] || fail "AdminGuide.txt does not end with CR LF"
sections=(
  "1. What it removes and what it keeps" "2. Running it" "3. Switches" "4. Exit status"
  "5. Boxes that can still appear" "6. Unattended examples" "7. The run log"
  "8. Preview before you run" "9. When something remains" "10. Checking the download"
  "11. Reading many logs" "12. Deploying to many workstations"
)
[[ $(grep -E '^[0-9]+\. ' "$guide" | tr -d '\r') == "$(printf '%s\n' "${sections[@]}")" ]] ||
  fail "AdminGuide.txt's sections are not: ${sections[*]}"
for word in /s /sn /sp /nw /kc /km /kwt /rws /kf /kr /la- /log= '/?' certutil Get-FileHash \
    /whatif /capture= Compare-Object purgent-fleet.exe 'start "" /wait' 'Start-Process' '-Wait -PassThru' SYSTEM 'Get-Content -Encoding UTF8' \
    'Invalid Purgent Commandline' 'Cannot create the log file' 'Purgent - Completed' \
    'Another Purgent run is in progress.' '# resumed' \
    'Remote And Caching Directories are not removed.' 'outlook.exe' 'unsaved work' 'restart' \
    /msiexit '%COMPUTERNAME%' 'Configuration Manager' 'Intune' 'start-up script' 'psexec' 'detection script'; do
  grep -qF -- "$word" "$guide" || fail "AdminGuide.txt does not mention $word"
done
# Each status beside its /msiexit twin.
for pair in "0 0" "0 3010" "1 1602" "2 1603" "3 1639" "4 1618"; do
  grep -qE "^ +${pair% *} +${pair#* } +" "$guide" || fail "AdminGuide.txt does not list exit status $pair"
done

# The published sums beside the zip check the zip and the unpacked files.
beside=$(cd "$(dirname "$zip")" && pwd)/SHA256SUMS
[[ -f $beside ]] || fail "no SHA256SUMS beside $zip"
cp "$zip" "$dir/unpacked/"
(cd "$dir/unpacked" && sha256sum --quiet -c "$beside")
[[ $(grep -c . "$beside") == 4 ]] || fail "SHA256SUMS beside the zip does not list the zip and the three files"
echo "package ok: $listing"
