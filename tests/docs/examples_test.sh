#!/usr/bin/env bash
# examples_test.sh ROOT BUILD: runs the examples of README.md and docs/*.md
# and checks those of packaging/AdminGuide.txt against the program's own
# tables, so that no document shows a command that does not do what it says.
#
# In a Markdown document:
#   ```sh        each line is a command run from a scratch folder that holds
#                the checkout's demo/, tests/ and build/native (build/native
#                is BUILD; /tmp/ is the scratch folder's tmp/; pc42.log is a
#                run log of the demo workstation, pc42 a capture of it). It
#                must end with 0, or with N where the line ends "# exits N".
#   ```console   "$ command" lines, each followed by the output it must
#                print; a line "..." stands for any number of lines.
#   ```bat       each purgent.exe command line runs on purgent-sim, on the
#                demo workstation with the folders the examples name
#                (%SystemRoot% is C:\WINDOWS); it must end with 0, or with N
#                where the line before is "rem exits N".
# A block right after the line "<!-- not run here: <why> -->" is left out.
# In the AdminGuide, every switch a line with purgent.exe names must be one
# of the program's, and every status an example compares a result with must
# be one of its statuses, both as "/?" lists them.
set -uo pipefail
ROOT=$(cd "$1" && pwd)
BUILD=$(cd "$2" && pwd)
SIM="$BUILD/purgent-sim"
failures=0
fail() { printf 'FAIL: %s\n' "$*"; failures=$((failures + 1)); }

SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/purgent-docs-XXXXXX")
trap 'rm -rf "$SCRATCH"' EXIT
mkdir -p "$SCRATCH/build" "$SCRATCH/tmp"
ln -s "$ROOT/demo" "$SCRATCH/demo"
ln -s "$ROOT/tests" "$SCRATCH/tests"
ln -s "$BUILD" "$SCRATCH/build/native"

# The machine the bat examples run on: the demo workstation with the folders
# and the installer they name.
MACHINE="$SCRATCH/machine"
cp -r "$ROOT/demo/workstation" "$MACHINE"
mkdir -p "$MACHINE/drive/C/WINDOWS/Logs" "$MACHINE/drive/C/Install/GroupWise" "$MACHINE/drive/C/Purgent logs" \
  "$MACHINE/drive/C/My Logs" "$MACHINE/drive/C/Program Files/Novell Setup"
for setup in Install/setup.exe Install/GroupWise/setup.exe "Program Files/Novell Setup/setup.exe"; do
  : >"$MACHINE/drive/C/$setup"
done

# A run log and a capture of the demo workstation, as the documents' pc42.
"$SIM" --machine "$ROOT/demo/workstation" --save "$SCRATCH/tmp/logged" -- /sn '/log=C:\pc42.log' >/dev/null \
  && cp "$SCRATCH/tmp/logged/drive/C/pc42.log" "$SCRATCH/pc42.log" || fail "cannot make pc42.log"
"$SIM" --machine "$ROOT/demo/workstation" --save "$SCRATCH/tmp/captured" -- /sn '/capture=C:\pc42' >/dev/null \
  && cp -r "$SCRATCH/tmp/captured/drive/C/pc42" "$SCRATCH/pc42" || fail "cannot make the capture pc42"
rm -rf "$SCRATCH/tmp/logged" "$SCRATCH/tmp/captured"

# "cmd  # exits 3" -> 3; 0 otherwise.
expected_status() { [[ $1 =~ \#\ exits\ ([0-9]+)[[:space:]]*$ ]] && echo "${BASH_REMATCH[1]}" || echo 0; }

run_sh() {  # file, line number, command
  local status want
  want=$(expected_status "$3")
  (cd "$SCRATCH" && timeout 300 bash -c "${3//\/tmp\//$SCRATCH/tmp/}" >"$SCRATCH/out" 2>&1)
  status=$?
  [[ $status == "$want" ]] || fail "$1:$2: '$3' ended with $status, not $want: $(head -c 400 "$SCRATCH/out")"
}

# The output a console block shows, with "..." for any lines, as a pattern
# for grep -z: lines compared literally.
check_console() {  # file, line number, command, expected output
  local actual
  actual=$(cd "$SCRATCH" && timeout 300 bash -c "$3" 2>&1)
  local pattern="" line
  while IFS= read -r line; do
    if [[ $line == "..." ]]; then pattern+='(.*\n)*'; else pattern+="$(printf '%s' "$line" | sed 's/[][\.*^$+?(){}|/]/\\&/g')\n"; fi
  done <<<"$4"
  printf '%s\n' "$actual" | grep -Pzq "^${pattern}\$" \
    || fail "$1:$2: '$3' printed other lines than the document shows:"$'\n'"$actual"
}

# The arguments after purgent.exe in a bat line, as cmd would hand them on.
run_bat() {  # file, line number, line, expected status
  local args=${3#*purgent.exe}
  args=${args//%SystemRoot%/C:\\WINDOWS}
  local status
  "$SIM" --machine "$MACHINE" --command-line "${args# }" >"$SCRATCH/out" 2>&1
  status=$?
  [[ $status == "$4" ]] || fail "$1:$2: 'purgent.exe$args' ended with $status on purgent-sim, not $4"
}

check_markdown() {  # file
  local file=$1 n=0 line fence="" skip=0 before="" want=0 console_cmd="" console_out="" console_at=0
  while IFS= read -r line || [[ -n $line ]]; do
    n=$((n + 1))
    if [[ -z $fence && $line =~ ^\`\`\`([a-z]*) ]]; then
      fence=${BASH_REMATCH[1]:-text}
      skip=0
      [[ $before == "<!-- not run here:"* ]] && skip=1
      want=0
      continue
    fi
    if [[ -n $fence && $line == '```'* ]]; then
      [[ -n $console_cmd ]] && check_console "$file" "$console_at" "$console_cmd" "$console_out"
      console_cmd="" console_out="" fence=""
      before=""
      continue
    fi
    if [[ -z $fence ]]; then
      [[ -n ${line// /} ]] && before=$line
      continue
    fi
    ((skip)) && continue
    case $fence in
      sh)
        [[ -z ${line// /} || $line == \#* ]] || run_sh "$file" "$n" "$line" ;;
      console)
        if [[ $line == '$ '* ]]; then
          [[ -n $console_cmd ]] && check_console "$file" "$console_at" "$console_cmd" "$console_out"
          console_cmd=${line#\$ } console_out="" console_at=$n
        else
          console_out+="${console_out:+$'\n'}$line"
        fi ;;
      bat)
        if [[ $line =~ ^rem\ exits\ ([0-9]+) ]]; then want=${BASH_REMATCH[1]}
        elif [[ $line == *purgent.exe* ]]; then run_bat "$file" "$n" "$line" "$want"; want=0
        fi ;;
    esac
  done <"$ROOT/$file"
}

for file in README.md docs/*.md; do
  check_markdown "${file#"$ROOT"/}"
done

# The switches and statuses "/?" lists.
help=$("$SIM" -- '/?' | sed -n 's/^message\t//p' | sed 's/\\n/\n/g')
mapfile -t switches < <(printf '%s\n' "$help" | grep -oP '^/[a-z?]+[-=]?' | sort -u)
mapfile -t statuses < <(printf '%s\n' "$help" | sed -n '/^Exit status/,$p' | grep -oP '^[0-9]+' | sort -u)
switches+=("/?")  # the box itself
is_switch() { local s; for s in "${switches[@]}"; do [[ $1 == "$s" ]] && return 0; done; return 1; }
is_status() { local s; for s in "${statuses[@]}"; do [[ $1 == "$s" ]] && return 0; done; return 1; }
[[ ${#switches[@]} -gt 5 && ${#statuses[@]} -gt 3 ]] || fail "cannot read the switches and statuses from /?"

guide="$ROOT/packaging/AdminGuide.txt"
n=0
while IFS= read -r line || [[ -n $line ]]; do
  n=$((n + 1))
  line=${line%$'\r'}
  if [[ $line == *purgent.exe* ]]; then
    after=${line#*purgent.exe}
    # What follows /la- up to its closing quote is the follow-up program's.
    after=$(printf '%s' "$after" | sed -E 's#/la-("([^"\\]|\\.)*"|([^"\\]|\\.)*)##g')
    for switch in $(printf '%s' "$after" | grep -oP '(?<![\w\\:.-])/[a-z?]+[-=]?' ); do
      is_switch "$switch" || fail "AdminGuide.txt:$n: $switch is none of the program's switches"
    done
  fi
  for status in $(printf '%s' "$line" | grep -oP '(\bequ|\bneq|-eq|-ne|==|!=) \K[0-9]+'); do
    is_status "$status" || fail "AdminGuide.txt:$n: status $status is none of the program's"
  done
done <"$guide"

if ((failures)); then
  printf '%d example(s) do not do what their document says\n' "$failures"
  exit 1
fi
echo "every example does what its document says"
